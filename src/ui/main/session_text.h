#pragma once
// The session's texts are UTF-8 with Windows line breaks; the window's are QStrings with '\n'.

#include <QString>
#include <string>

namespace luma::ui {

inline QString FromSession(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace luma::ui
