#pragma once
// The program's pictures, compiled into it from luma.qrc.

#include <QIcon>
#include <QPixmap>

namespace luma::res {

// Registers the compiled resources; the resource library is static, so a program calls this
// once before it loads a picture.
void Load();

QIcon AppIcon();  // 128
// The record buttons' icons.
QIcon NextIcon();    // 133
QIcon PrevIcon();    // 134
QIcon MarkIcon();    // 136
QIcon UnmarkIcon();  // 137
QIcon LastIcon();    // 140
QIcon FirstIcon();   // 141
QIcon GoToIcon();    // 142
// The modified indicator.
QPixmap UnsavedBitmap();  // 144
QPixmap SavedBitmap();    // 145

}  // namespace luma::res
