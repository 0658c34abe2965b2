#pragma once
// The maker's web addresses, all in one place. They are example addresses that reach no real
// server; a release puts the real ones here.

namespace WebAddresses {

// The home page, opened by the menu bar's link button and by Visit homepage.
inline constexpr char HomePage[] = "http://www.kordi2000.example/";
// The home page as the link button shows it.
inline constexpr char HomePageLabel[] = "www.kordi2000.example";
// The companion web site.
inline constexpr char CompanionSite[] = "http://www.tekomiro.example/";
inline constexpr char CompanionSiteLabel[] = "www.tekomiro.example";
// The web chat page on the maker's server.
inline constexpr char InetChat[] = "http://www.kordi2000.example/main.php?page=chat_enter";
// The statistics page whose reply carries the newest version number.
inline constexpr char Statistics[] = "http://www.kordi2000.example/stats.php?";

} // namespace WebAddresses
