#pragma once

namespace editor {

// Where the editor sends the user for the maker's site and for support.
inline constexpr const char* kMakerWebSite = "https://quilltone.com";
inline constexpr const char* kMakerSupportAddress = "support@quilltone.com";

} // namespace editor
