#pragma once

#include <QPixmap>

// The small decorations of the notice windows, drawn in code so the windows need no files.
namespace nt::notices {

QPixmap errorPicture();     // a red disc with a white cross
QPixmap donePicture();      // a green disc with a tick
QPixmap hintPicture();      // a yellow bulb-like disc with an exclamation mark
QPixmap warningPicture();   // an amber triangle
QPixmap shredderPicture();  // a sheet going into a shredder
QPixmap arrowPicture();     // an arrow pointing right, towards the delete button

}  // namespace nt::notices
