#pragma once
// The product's home page on the maker's web server: the main window's link
// opens the first address, the about box's link the second.
namespace vt {

inline constexpr char kHomePageUrl[] = "https://www.orvane.com/Vantrel.asp";
inline constexpr char kAboutPageUrl[] = "https://www.orvane.com/vantrel.asp";

}  // namespace vt
