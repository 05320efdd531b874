#pragma once
// The texts a marking session shows, exactly as the operator sees them: the record view, the
// status line, the questions and the messages.

#include <ctime>
#include <string>
#include <string_view>

namespace luma {

// Joins the lines of the record view.
inline constexpr std::string_view kViewSeparator = "\r\n____\r\n";

inline constexpr std::string_view kResumeQuestion = "Вы уже работали с данным файлом\r\nПродолжить работу?";
inline constexpr std::string_view kSaveQuestion = "Сохранить?";
inline constexpr std::string_view kSaveFailed = "Ошибка сохранения файла!";
inline constexpr std::string_view kReadFailed = "Ошибка чтения файла!";
inline constexpr std::string_view kWorkingCopyCreateFailed =
    "Ошибка создания рабочей копии!\r\nФайл не открыт.";
inline constexpr std::string_view kWorkingCopyWriteFailed =
    "Ошибка записи рабочей копии!\r\nЗапись не изменена.";
inline constexpr std::string_view kLabelNotSetUp =
    "Поле метки не настроено!\r\nЗадайте в настройках тег из трёх латинских букв или цифр.";
inline constexpr std::string_view kRecordNotChanged = "Запись не изменена:";
inline constexpr std::string_view kNoCurrentRecord = "Нет текущей записи: пометить нечего.";
inline constexpr std::string_view kOpenProgress = "Открывается файл";
inline constexpr std::string_view kRecoveryQuestion =
    "Найдена несохранённая работа с файлом %s (%s). Восстановить?";
inline constexpr std::string_view kRecoveryFailed =
    "Несохранённая работа не восстановлена: рабочая копия не читается.\r\nОна оставлена на месте.";
inline constexpr std::string_view kNoMarkedAfter = "Дальше помеченных записей нет";
inline constexpr std::string_view kNoMarkedBefore = "Раньше помеченных записей нет";
inline constexpr std::string_view kFindProgress = "Поиск";
inline constexpr std::string_view kFindNothing = "Не найдено";
inline constexpr std::string_view kFindCancelled = "Поиск прерван";
inline constexpr std::string_view kFindWrappedToStart = "Поиск продолжен с начала файла";
inline constexpr std::string_view kFindWrappedToEnd = "Поиск продолжен с конца файла";
inline constexpr std::string_view kNothingMarked = "Помеченных записей нет: сохранять нечего.";
inline constexpr std::string_view kMarkedOverSource =
    "Исходный файл не перезаписывается.\r\nВыберите другое имя.";
inline constexpr std::string_view kReplaceQuestion = "Файл уже существует. Заменить?";
inline constexpr std::string_view kMarkedSaved = "Сохранено помеченных записей: ";

// One line of the view: "%s     %s" with the tag and the text.
std::string FormatViewLine(std::string_view tag, std::string_view text);

// "Файл: %s     Всего записей: %d     Текущая: %d    Помечено: %d".
std::string FormatStatusLine(std::string_view title, int recordCount, int currentNumber, int markedCount);

// The recovery question for work on `sourcePath` begun at `started`, local time, shown as
// "07.12.2026 10:15".
std::string FormatRecoveryQuestion(std::string_view sourcePath, const std::tm& started);

// A message with what the system said about it on the next line.
std::string WithDetail(std::string_view message, std::string_view detail);

}  // namespace luma
