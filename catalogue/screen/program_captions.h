#pragma once
// The program's names as its message boxes show them in their title bars.
namespace reel {

// Caption a message box shows when the screens give it none.
inline constexpr const char* ProgramTitle = "Dovelmark 1";
inline constexpr const char* EditionCaption = "Reelvane Deluxe Edition";

}  // namespace reel
