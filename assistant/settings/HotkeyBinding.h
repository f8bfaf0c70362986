#pragma once
// The four channel hotkeys as data: which rows there are, their defaults,
// the value the settings keep (the hotkey control's own format), the text
// the menu shows ("Ctrl+ 左"), and which combinations are in force after
// Windows has had its say.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt {

// A hotkey value: low byte the virtual key, next byte these modifier bits
// (HOTKEYF_*, what the hotkey control reads and writes); 0 means none.
constexpr std::uint32_t kHotkeyShift = 0x01;
constexpr std::uint32_t kHotkeyControl = 0x02;
constexpr std::uint32_t kHotkeyAlt = 0x04;
constexpr std::uint32_t kHotkeyExt = 0x08;  // an extended key; plays no part in the registration

// RegisterHotKey's modifier bits (MOD_*), as WM_HOTKEY's lParam carries them.
constexpr std::uint32_t kModAlt = 0x01;
constexpr std::uint32_t kModCtrl = 0x02;
constexpr std::uint32_t kModShift = 0x04;

enum class HotkeySlot { Left, Right, Stereo, Mute };
constexpr int kHotkeySlotCount = 4;
inline constexpr HotkeySlot kHotkeySlots[] = {HotkeySlot::Left, HotkeySlot::Right, HotkeySlot::Stereo,
                                              HotkeySlot::Mute};
inline int SlotIndex(HotkeySlot slot) { return static_cast<int>(slot); }

using HotkeyValues = std::array<std::uint32_t, kHotkeySlotCount>;

struct HotkeySlotInfo {
    const char* valueName;  // REG_DWORD under the settings key
    const char* atomName;   // the global atom whose number is the hotkey id
    const char* label;      // the row of the settings window and the menu item (UTF-8)
    std::uint32_t defaultValue;
};
const HotkeySlotInfo& SlotInfo(HotkeySlot slot);

// Ctrl+Left, Ctrl+Right, Ctrl+Down, Ctrl+Up.
HotkeyValues DefaultHotkeys();

// Whether a value can be registered at all: only known modifier bits, a key
// that is not itself a modifier, nothing above the two bytes. 0 (none) is
// sensible too.
bool IsSensibleHotkey(std::uint32_t value);

// The value a slot gets from the settings: a missing value or one that makes
// no sense means the default, 0 means none.
std::uint32_t HotkeyFromStored(HotkeySlot slot, std::optional<std::uint32_t> stored);

// The same keys with the same modifiers (the extended-key bit aside).
bool SameCombination(std::uint32_t a, std::uint32_t b);

std::uint32_t HotkeyKey(std::uint32_t value);        // virtual key
std::uint32_t HotkeyModifiers(std::uint32_t value);  // MOD_* bits
// WM_HOTKEY's lParam for this combination: modifiers low, key high.
std::uint32_t HotkeyLParam(std::uint32_t value);

// "Ctrl+ 左", "Ctrl+Alt+ 左", "Shift+ F5", "F5" (UTF-8); "" for none. The
// style of the tray menu's shortcut column: the modifiers, a space, the key.
std::string HotkeyText(std::uint32_t value);

// The menu item of a slot: its label, then the combination after a tab.
std::string HotkeyMenuText(HotkeySlot slot, std::uint32_t value);

// One balloon naming every combination that could not be had:
// 热键“Ctrl+ 左”已被其他程序占用，可在“设置”中更换。 Empty for none.
std::string HotkeyConflictText(const std::vector<std::uint32_t>& refused);

// How a requested combination fared.
enum class HotkeyOutcome {
    InForce,    // registered (or none, as asked)
    Refused,    // Windows refused it: another program holds it; the old one stays
    Duplicate,  // another row asks for the same combination; the old one stays
};
using HotkeyOutcomes = std::array<HotkeyOutcome, kHotkeySlotCount>;

// RegisterHotKey and UnregisterHotKey for one window, one id per slot.
class IHotkeyRegistrar {
public:
    virtual ~IHotkeyRegistrar() = default;
    virtual bool Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) = 0;
    virtual void Unregister(HotkeySlot slot) = 0;
};

// The combinations in force, and the move from those to what the user asks.
class HotkeyBindings {
public:
    explicit HotkeyBindings(IHotkeyRegistrar& registrar) : m_registrar(registrar) {}

    // Registers what is asked for where it differs from what is in force.
    // A refused combination leaves the slot's previous one in force (at
    // start-up: none). Values that make no sense count as none.
    HotkeyOutcomes Apply(const HotkeyValues& requested);

    const HotkeyValues& InForce() const { return m_inForce; }

    // The slot a WM_HOTKEY is for, from its lParam alone: exactly the
    // modifiers and the key of a combination in force.
    std::optional<HotkeySlot> SlotForLParam(std::uint32_t lParam) const;

private:
    IHotkeyRegistrar& m_registrar;
    HotkeyValues m_inForce = {};
};

// The refused values of a request, in slot order (for the start-up balloon).
std::vector<std::uint32_t> RefusedHotkeys(const HotkeyValues& requested, const HotkeyOutcomes& outcomes);

}  // namespace vt
