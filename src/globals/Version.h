#pragma once

namespace nt {

// The version the program and the batch tool report, as the about box shows it.
inline constexpr char kVersion[] = "3.9.0.12";

}  // namespace nt
