#pragma once

// Who the program is: the texts that both windows and the launcher show.
namespace identity {

inline constexpr char kApplicationTitle[] = "Brivanta IBAN";
inline constexpr char kProjectName[] = "BVIBAN";
inline constexpr char kVersion[] = "1.0.0.25";
// The name of the menu entry (bviban.desktop) and of the icon in the desktop's icon theme.
inline constexpr char kDesktopEntry[] = "bviban";

// The vendor is fictional: its host is a reserved name, so no request reaches a third party.
inline constexpr char kVendorHost[] = "www.brivanta.example";
inline constexpr char kVendorHome[] = "http://www.brivanta.example";

} // namespace identity
