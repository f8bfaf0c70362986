#include "assistant/settings/HotkeyBinding.h"

#include "shared/core/Text.h"

namespace vt {
namespace {

constexpr std::uint32_t kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28;

constexpr std::uint32_t Combination(std::uint32_t modifiers, std::uint32_t key) { return modifiers << 8 | key; }

// The arrows of the arrow block are extended keys: the hotkey control says
// so when the user presses one, and shows the keypad's arrows without it.
constexpr std::uint32_t kCtrlArrow = kHotkeyControl | kHotkeyExt;

const HotkeySlotInfo kSlotInfo[kHotkeySlotCount] = {
    {"HotkeyLeft", "Left", "左声道", Combination(kCtrlArrow, kVkLeft)},
    {"HotkeyRight", "Right", "右声道", Combination(kCtrlArrow, kVkRight)},
    // "Streo" is spelt so on purpose: the atom name the hotkey has always had.
    {"HotkeyStereo", "Streo", "立体声", Combination(kCtrlArrow, kVkDown)},
    {"HotkeyMute", "Mute", "静音", Combination(kCtrlArrow, kVkUp)},
};

// Keys that only modify others (Shift, Ctrl, Alt, the Windows keys, left and
// right of each) and the mouse buttons: no hotkey of their own.
bool IsModifierOrMouse(std::uint32_t key) {
    return key < 0x08 || (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
}

std::string KeyName(std::uint32_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= 0x60 && key <= 0x69) return Format("Num %u", key - 0x60);
    if (key >= 0x70 && key <= 0x87) return Format("F%u", key - 0x6F);
    struct Named {
        std::uint32_t key;
        const char* name;
    };
    static const Named kNames[] = {
        {kVkLeft, "左"},       {kVkRight, "右"}, {kVkUp, "上"},      {kVkDown, "下"},    {0x08, "Backspace"},
        {0x09, "Tab"},         {0x0D, "Enter"},  {0x13, "Pause"},    {0x14, "CapsLock"}, {0x1B, "Esc"},
        {0x20, "Space"},       {0x21, "PageUp"}, {0x22, "PageDown"}, {0x23, "End"},      {0x24, "Home"},
        {0x2C, "PrintScreen"}, {0x2D, "Insert"}, {0x2E, "Delete"},   {0x6A, "Num *"},    {0x6B, "Num +"},
        {0x6D, "Num -"},       {0x6E, "Num ."},  {0x6F, "Num /"},    {0x90, "NumLock"},  {0x91, "ScrollLock"},
        {0xBA, ";"},           {0xBB, "="},      {0xBC, ","},        {0xBD, "-"},        {0xBE, "."},
        {0xBF, "/"},           {0xC0, "`"},      {0xDB, "["},        {0xDC, "\\"},       {0xDD, "]"},
        {0xDE, "'"},
    };
    for (const Named& named : kNames)
        if (named.key == key) return named.name;
    return Format("0x%02X", key);
}

}  // namespace

const HotkeySlotInfo& SlotInfo(HotkeySlot slot) { return kSlotInfo[SlotIndex(slot)]; }

HotkeyValues DefaultHotkeys() {
    HotkeyValues values{};
    for (HotkeySlot slot : kHotkeySlots) values[SlotIndex(slot)] = SlotInfo(slot).defaultValue;
    return values;
}

bool IsSensibleHotkey(std::uint32_t value) {
    if (value == 0) return true;
    if (value > 0xFFFF) return false;
    const std::uint32_t modifiers = value >> 8;
    if (modifiers & ~(kHotkeyShift | kHotkeyControl | kHotkeyAlt | kHotkeyExt)) return false;
    return !IsModifierOrMouse(HotkeyKey(value));
}

std::uint32_t HotkeyFromStored(HotkeySlot slot, std::optional<std::uint32_t> stored) {
    if (!stored || !IsSensibleHotkey(*stored)) return SlotInfo(slot).defaultValue;
    return *stored;
}

bool SameCombination(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t mask = ~(kHotkeyExt << 8);
    return (a & mask) == (b & mask);
}

std::uint32_t HotkeyKey(std::uint32_t value) { return value & 0xFF; }

std::uint32_t HotkeyModifiers(std::uint32_t value) {
    const std::uint32_t flags = value >> 8 & 0xFF;
    std::uint32_t modifiers = 0;
    if (flags & kHotkeyAlt) modifiers |= kModAlt;
    if (flags & kHotkeyControl) modifiers |= kModCtrl;
    if (flags & kHotkeyShift) modifiers |= kModShift;
    return modifiers;
}

std::uint32_t HotkeyLParam(std::uint32_t value) { return HotkeyModifiers(value) | HotkeyKey(value) << 16; }

std::string HotkeyText(std::uint32_t value) {
    if (value == 0) return "";
    const std::uint32_t flags = value >> 8;
    std::string modifiers;
    if (flags & kHotkeyControl) modifiers += "Ctrl+";
    if (flags & kHotkeyShift) modifiers += "Shift+";
    if (flags & kHotkeyAlt) modifiers += "Alt+";
    const std::string key = KeyName(HotkeyKey(value));
    return modifiers.empty() ? key : modifiers + " " + key;
}

std::string HotkeyMenuText(HotkeySlot slot, std::uint32_t value) {
    std::string text = SlotInfo(slot).label;
    if (value != 0) text += "\t" + HotkeyText(value);
    return text;
}

std::string HotkeyConflictText(const std::vector<std::uint32_t>& refused) {
    if (refused.empty()) return "";
    std::string names;
    for (std::uint32_t value : refused) {
        if (!names.empty()) names += "、";
        names += "“" + HotkeyText(value) + "”";
    }
    return "热键" + names + "已被其他程序占用，可在“设置”中更换。";
}

HotkeyOutcomes HotkeyBindings::Apply(const HotkeyValues& asked) {
    HotkeyValues requested = asked;
    for (std::uint32_t& value : requested)
        if (!IsSensibleHotkey(value)) value = 0;

    HotkeyOutcomes outcomes;
    outcomes.fill(HotkeyOutcome::InForce);
    bool changing[kHotkeySlotCount] = {};
    for (int i = 0; i < kHotkeySlotCount; ++i) {
        for (int j = 0; j < i; ++j)
            if (requested[i] != 0 && SameCombination(requested[i], requested[j]))
                outcomes[i] = HotkeyOutcome::Duplicate;
        if (outcomes[i] == HotkeyOutcome::Duplicate) continue;
        if (SameCombination(requested[i], m_inForce[i]))
            m_inForce[i] = requested[i];  // at most the extended-key bit differs
        else
            changing[i] = true;
    }
    // Every slot that changes lets go first, so rows can swap combinations.
    for (int i = 0; i < kHotkeySlotCount; ++i)
        if (changing[i] && m_inForce[i] != 0) m_registrar.Unregister(kHotkeySlots[i]);
    for (int i = 0; i < kHotkeySlotCount; ++i) {
        if (!changing[i]) continue;
        const HotkeySlot slot = kHotkeySlots[i];
        const std::uint32_t previous = m_inForce[i];
        if (requested[i] == 0 || m_registrar.Register(slot, HotkeyModifiers(requested[i]), HotkeyKey(requested[i]))) {
            m_inForce[i] = requested[i];
            continue;
        }
        outcomes[i] = HotkeyOutcome::Refused;
        // The previous one back; should someone have taken it meanwhile,
        // the slot is left without a hotkey rather than claiming one.
        if (previous != 0 && !m_registrar.Register(slot, HotkeyModifiers(previous), HotkeyKey(previous)))
            m_inForce[i] = 0;
    }
    return outcomes;
}

std::optional<HotkeySlot> HotkeyBindings::SlotForLParam(std::uint32_t lParam) const {
    for (HotkeySlot slot : kHotkeySlots) {
        const std::uint32_t value = m_inForce[SlotIndex(slot)];
        if (value != 0 && HotkeyLParam(value) == lParam) return slot;
    }
    return std::nullopt;
}

std::vector<std::uint32_t> RefusedHotkeys(const HotkeyValues& requested, const HotkeyOutcomes& outcomes) {
    std::vector<std::uint32_t> refused;
    for (int i = 0; i < kHotkeySlotCount; ++i)
        if (outcomes[i] == HotkeyOutcome::Refused) refused.push_back(requested[i]);
    return refused;
}

}  // namespace vt
