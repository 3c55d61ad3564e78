#pragma once

namespace nt::mf {

// Makes the faces Windows pictures name most (Tahoma, MS Sans Serif, Symbol, Wingdings, System,
// ...) available from Wine's metric-compatible fonts (package fonts-wine) when they are there;
// once per process, before the first metafile text.
void addStandInFonts();

}  // namespace nt::mf
