#include "marking/marking_texts.h"

#include <ctime>
#include <iterator>

namespace luma {

std::string FormatViewLine(std::string_view tag, std::string_view text)
{
    std::string line(tag);
    line += "     ";
    line += text;
    return line;
}

std::string FormatStatusLine(std::string_view title, int recordCount, int currentNumber, int markedCount,
                             std::string_view format)
{
    // The format is filled in one pass, so a "%" in the title stays as it is.
    const int numbers[] = {recordCount, currentNumber, markedCount};
    std::size_t nextNumber = 0;
    std::string line;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                line += title;
                ++i;
                continue;
            }
            if (format[i + 1] == 'd' && nextNumber < std::size(numbers)) {
                line += std::to_string(numbers[nextNumber++]);
                ++i;
                continue;
            }
        }
        line += format[i];
    }
    return line;
}

std::string FormatRecoveryQuestion(std::string_view sourcePath, const std::tm& started,
                                   std::string_view question)
{
    char when[32] = {};
    std::strftime(when, sizeof when, "%d.%m.%Y %H:%M", &started);
    // The places are found in the template: a path may itself hold "%s".
    std::string text(question);
    const std::size_t pathAt = text.find("%s");
    const std::size_t whenAt = pathAt == std::string::npos ? pathAt : text.find("%s", pathAt + 2);
    if (whenAt != std::string::npos) {
        text.replace(whenAt, 2, when);
    }
    if (pathAt != std::string::npos) {
        text.replace(pathAt, 2, sourcePath);
    }
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
