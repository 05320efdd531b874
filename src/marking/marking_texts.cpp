#include "marking_texts.h"

#include <ctime>

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

std::string FormatRecoveryQuestion(std::string_view sourcePath, const std::tm& started)
{
    char when[32] = {};
    std::strftime(when, sizeof when, "%d.%m.%Y %H:%M", &started);
    // The places are found in the template: a path may itself hold "%s".
    std::string text(kRecoveryQuestion);
    const std::size_t pathAt = text.find("%s");
    const std::size_t whenAt = text.find("%s", pathAt + 2);
    text.replace(whenAt, 2, when);
    text.replace(pathAt, 2, sourcePath);
    return text;
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
