#pragma once
// LUMA's own pictures, drawn in code so that they can be redrawn at any time: the record
// buttons' icons, the modified indicator's two bitmaps and the application icon.
// luma-draw-icons writes them as the PNG files the resource file lists, and the application
// icon as the .ico file the Windows executable carries.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace luma::art {

struct Picture {
    QString fileName;  // under src/res/icons
    QImage image;
};

QImage NextArrow();      // 133: arrow pointing right
QImage PrevArrow();      // 134: arrow pointing left
QImage MarkTick();       // 136: red tick
QImage UnmarkCross();    // 137: blue cross
QImage LastArrow();      // 140: arrow pointing right against a bar
QImage FirstArrow();     // 141: arrow pointing left against a bar
QImage PointingHand();   // 142: pointing hand
QImage UnsavedImage();   // 144: red disc with a black rim on light grey, 21 x 20
QImage SavedImage();     // 145: plain light grey, 23 x 23
QImage AppIcon(int size);  // 128: at 16, 32 and 48 pixels, and the desktop icon sizes

std::vector<Picture> AllPictures();

// The application icon at every size as an .ico file, each size a PNG image (which Windows
// reads since Vista), for the Windows executable's resources.
inline constexpr const char* kIconFileName = "luma.ico";
QByteArray AppIconFile();

}  // namespace luma::art
