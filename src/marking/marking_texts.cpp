#include "marking_texts.h"

namespace luma {

std::string FormatViewLine(std::string_view tag, std::string_view text)
{
    std::string line(tag);
    line += "     ";
    line += text;
    return line;
}

std::string FormatStatusLine(std::string_view title, int recordCount, int currentNumber, int markedCount)
{
    std::string line = "Файл: ";
    line += title;
    line += "     Всего записей: " + std::to_string(recordCount);
    line += "     Текущая: " + std::to_string(currentNumber);
    line += "    Помечено: " + std::to_string(markedCount);
    return line;
}

std::string WithDetail(std::string_view message, std::string_view detail)
{
    std::string text(message);
    if (!detail.empty()) {
        text += "\r\n";
        text += detail;
    }
    return text;
}

}  // namespace luma
