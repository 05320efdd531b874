<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru_RU">
<context>
    <name>OpenProgress</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>Новая версия LUMA</source>
        <translation>New version of LUMA</translation>
    </message>
    <message>
        <source>Появилось обновление для программы &apos;LUMA&apos;.
В процессе установки все запущенные копии &apos;LUMA&apos; будут закрыты!

Устанавить сейчас?</source>
        <translation>An update for &apos;LUMA&apos; is available.
All running copies of &apos;LUMA&apos; will be closed while it installs!

Install now?</translation>
    </message>
    <message>
        <source>Копирование обновления</source>
        <translation>Copying the update</translation>
    </message>
    <message>
        <source>Обновление программы. ЖДИТЕ...</source>
        <translation>Updating the program. PLEASE WAIT...</translation>
    </message>
    <message>
        <source>Обновление не установлено</source>
        <translation>Update not installed</translation>
    </message>
    <message>
        <source>Сервер обновлений не дал подписи к загруженному обновлению, поэтому оно не установлено и удалено. Работа продолжается в прежней версии.

Сообщите об этом администратору сервера обновлений.</source>
        <translation>The update server gave no signature for the downloaded update, so it was not installed and has been deleted. Work goes on in the current version.

Please tell the update server&apos;s administrator.</translation>
    </message>
    <message>
        <source>Подпись загруженного обновления неверна: файл мог быть подменён. Обновление не установлено и удалено. Работа продолжается в прежней версии.

Сообщите об этом администратору сервера обновлений.</source>
        <translation>The signature of the downloaded update is wrong: the file may have been replaced. The update was not installed and has been deleted. Work goes on in the current version.

Please tell the update server&apos;s administrator.</translation>
    </message>
</context>
<context>
    <name>luma</name>
    <message>
        <source>Нет</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Вы уже работали с данным файлом<byte value="xd"/>
Продолжить работу?</source>
        <translation>You have already worked on this file.<byte value="xd"/>
Continue that work?</translation>
    </message>
    <message>
        <source>Сохранить?</source>
        <translation>Save?</translation>
    </message>
    <message>
        <source>Ошибка сохранения файла!</source>
        <translation>Error saving the file!</translation>
    </message>
    <message>
        <source>Ошибка чтения файла!</source>
        <translation>Error reading the file!</translation>
    </message>
    <message>
        <source>Ошибка создания рабочей копии!<byte value="xd"/>
Файл не открыт.</source>
        <translation>Error creating the working copy!<byte value="xd"/>
The file was not opened.</translation>
    </message>
    <message>
        <source>Ошибка записи рабочей копии!<byte value="xd"/>
Запись не изменена.</source>
        <translation>Error writing the working copy!<byte value="xd"/>
The record was not changed.</translation>
    </message>
    <message>
        <source>Поле метки не настроено!<byte value="xd"/>
Задайте в настройках тег из трёх латинских букв или цифр.</source>
        <translation>The label field is not set up!<byte value="xd"/>
In Settings, enter a tag of three Latin letters or digits.</translation>
    </message>
    <message>
        <source>Запись не изменена:</source>
        <translation>The record was not changed:</translation>
    </message>
    <message>
        <source>Нет текущей записи: пометить нечего.</source>
        <translation>No current record: nothing to mark.</translation>
    </message>
    <message>
        <source>Открывается файл</source>
        <translation>Opening the file</translation>
    </message>
    <message>
        <source>Найдена несохранённая работа с файлом %s (%s). Восстановить?</source>
        <translation>Unsaved work on the file %s (%s) was found. Restore it?</translation>
    </message>
    <message>
        <source>Несохранённая работа не восстановлена: рабочая копия не читается.<byte value="xd"/>
Она оставлена на месте.</source>
        <translation>The unsaved work was not restored: its working copy cannot be read.<byte value="xd"/>
It has been left in place.</translation>
    </message>
    <message>
        <source>Дальше помеченных записей нет</source>
        <translation>No more marked records after this one</translation>
    </message>
    <message>
        <source>Раньше помеченных записей нет</source>
        <translation>No more marked records before this one</translation>
    </message>
    <message>
        <source>Поиск</source>
        <translation>Searching</translation>
    </message>
    <message>
        <source>Не найдено</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>Поиск прерван</source>
        <translation>Search cancelled</translation>
    </message>
    <message>
        <source>Поиск продолжен с начала файла</source>
        <translation>Search went on from the start of the file</translation>
    </message>
    <message>
        <source>Поиск продолжен с конца файла</source>
        <translation>Search went on from the end of the file</translation>
    </message>
    <message>
        <source>Помеченных записей нет: сохранять нечего.</source>
        <translation>No marked records: nothing to save.</translation>
    </message>
    <message>
        <source>Исходный файл не перезаписывается.<byte value="xd"/>
Выберите другое имя.</source>
        <translation>The source file is never overwritten.<byte value="xd"/>
Choose another name.</translation>
    </message>
    <message>
        <source>Файл уже существует. Заменить?</source>
        <translation>The file already exists. Replace it?</translation>
    </message>
    <message>
        <source>Сохранено помеченных записей: </source>
        <translation>Marked records saved: </translation>
    </message>
    <message>
        <source>Файл: %s     Всего записей: %d     Текущая: %d    Помечено: %d</source>
        <translation>File: %s     Records: %d     Current: %d    Marked: %d</translation>
    </message>
    <message>
        <source>в файле только символы ASCII</source>
        <translation>the file holds ASCII characters only</translation>
    </message>
    <message>
        <source>так указано в записи (маркер или поле 100)</source>
        <translation>the record says so (leader or field 100)</translation>
    </message>
    <message>
        <source>байты файла — последовательности UTF-8</source>
        <translation>the file&apos;s bytes are UTF-8 sequences</translation>
    </message>
    <message>
        <source>частоты букв кириллицы</source>
        <translation>Cyrillic letter frequencies</translation>
    </message>
    <message>
        <source>escape-последовательности MARC-8</source>
        <translation>MARC-8 escape sequences</translation>
    </message>
    <message>
        <source>диакритические знаки перед буквами в записи MARC 21</source>
        <translation>diacritics before letters in a MARC 21 record</translation>
    </message>
    <message>
        <source>буквы с диакритикой в конце слов</source>
        <translation>letters with diacritics at word ends</translation>
    </message>
    <message>
        <source>диакритические знаки перед буквами в записи UNIMARC</source>
        <translation>diacritics before letters in a UNIMARC record</translation>
    </message>
    <message>
        <source>выбрана оператором</source>
        <translation>chosen by the operator</translation>
    </message>
    <message>
        <source>Кодировка не сменена: в ней поле метки читается иначе, и помеченные записи перестали бы считаться помеченными.<byte value="xd"/>
Чтобы сменить кодировку, снимите пометки.</source>
        <translation>The encoding was not changed: the label field reads differently in it, and the marked records would no longer count as marked.<byte value="xd"/>
To change the encoding, unmark them first.</translation>
    </message>
    <message>
        <source>Несохранённая работа не восстановлена: нужен исходный файл в том виде, в каком он был открыт, а он перемещён, удалён или изменён.<byte value="xd"/>
Верните файл на место и запустите программу снова: работа оставлена на месте.</source>
        <translation>The unsaved work was not restored: it needs the source file as it was when it was opened, and that file has been moved, deleted or changed.<byte value="xd"/>
Put the file back and start the program again: the work has been left in place.</translation>
    </message>
    <message>
        <source>Исходный файл изменён другой программой.<byte value="xd"/>
Работа продолжается с его копией, сделанной при открытии; пометки сохранены.</source>
        <translation>The source file was changed by another program.<byte value="xd"/>
Work goes on with the copy made when it was opened; the marks are kept.</translation>
    </message>
    <message>
        <source>Исходный файл изменён другой программой, пока был открыт, и его записи больше нельзя читать.<byte value="xd"/>
Пометки сохранены в рабочей копии. Верните файл в прежнем виде и запустите программу снова, чтобы продолжить.</source>
        <translation>The source file was changed by another program while it was open, and its records can no longer be read.<byte value="xd"/>
The marks are kept in the working copy. Put the file back as it was and start the program again to go on.</translation>
    </message>
</context>
<context>
    <name>luma::app::ProgressWindow</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>luma::ui::FilterPage</name>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Использовать фильтр</source>
        <translation>Use filter</translation>
    </message>
</context>
<context>
    <name>luma::ui::FindDialog</name>
    <message>
        <source>Найти</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>учитывать регистр</source>
        <translation>match case</translation>
    </message>
    <message>
        <source>Найти далее</source>
        <translation>Find next</translation>
    </message>
    <message>
        <source>Найти назад</source>
        <translation>Find previous</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Текст:</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>только в поле</source>
        <translation>only in field</translation>
    </message>
    <message>
        <source>без учёта диакритики</source>
        <translation>ignore diacritics</translation>
    </message>
</context>
<context>
    <name>luma::ui::FoldersPage</name>
    <message>
        <source>Исходные</source>
        <translation>Source files</translation>
    </message>
    <message>
        <source>Результаты</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>Шрифт</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Исходная директория</source>
        <translation>Source folder</translation>
    </message>
    <message>
        <source>Целевая директория</source>
        <translation>Results folder</translation>
    </message>
</context>
<context>
    <name>luma::ui::GoToDialog</name>
    <message>
        <source>Введите номер записи</source>
        <translation>Enter the record number</translation>
    </message>
</context>
<context>
    <name>luma::ui::HotkeyPage</name>
    <message>
        <source>Горячие кнопки</source>
        <translation>Hotkeys</translation>
    </message>
    <message>
        <source>Пометить</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Снять пометку</source>
        <translation>Unmark</translation>
    </message>
    <message>
        <source>Далее</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Назад</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Параметры метки</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Метка поля</source>
        <translation>Label tag</translation>
    </message>
    <message>
        <source>Текст метки</source>
        <translation>Label text</translation>
    </message>
    <message>
        <source>Переход к следущей записи</source>
        <translation>Go on to the next record</translation>
    </message>
    <message>
        <source>Помеченные записи</source>
        <translation>Marked records</translation>
    </message>
    <message>
        <source>Следующая</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Предыдущая</source>
        <translation>Previous</translation>
    </message>
</context>
<context>
    <name>luma::ui::MainWindow</name>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Настройка</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Предыдущая запись</source>
        <translation>Previous record</translation>
    </message>
    <message>
        <source>Пометить запись</source>
        <translation>Mark record</translation>
    </message>
    <message>
        <source>Снять пометку</source>
        <translation>Unmark record</translation>
    </message>
    <message>
        <source>Следующая запись</source>
        <translation>Next record</translation>
    </message>
    <message>
        <source>Первая запись</source>
        <translation>First record</translation>
    </message>
    <message>
        <source>Перейти к записи с номером…</source>
        <translation>Go to record number…</translation>
    </message>
    <message>
        <source>Последняя запись</source>
        <translation>Last record</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Найти…</source>
        <translation>Find…</translation>
    </message>
    <message>
        <source>Помеченные записи…</source>
        <translation>Marked records…</translation>
    </message>
    <message>
        <source>Сохранить помеченные…</source>
        <translation>Save marked records…</translation>
    </message>
    <message>
        <source>Сведения о файле…</source>
        <translation>File information…</translation>
    </message>
    <message>
        <source>Помеченные записи</source>
        <translation>Marked records</translation>
    </message>
    <message>
        <source>Помечено записей: %1</source>
        <translation>Marked records: %1</translation>
    </message>
    <message>
        <source>Запись</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Заглавие</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Файл: %1
Размер: %2
Кодировка: %3
Записей: %4     Помечено: %5
Повреждений: %6</source>
        <translation>File: %1
Size: %2
Character set: %3
Records: %4     Marked: %5
Problems: %6</translation>
    </message>
    <message>
        <source>файла нет на месте</source>
        <translation>the file is missing</translation>
    </message>
    <message>
        <source>Сведения о файле</source>
        <translation>File information</translation>
    </message>
    <message>
        <source>Смещение</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Повреждение</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>В файле повреждения: %1 (Сведения о файле…)</source>
        <translation>Problems in the file: %1 (File information…)</translation>
    </message>
    <message>
        <source>Поиск повреждений</source>
        <translation>Looking for problems</translation>
    </message>
    <message>
        <source>Кодировка</source>
        <translation>Encoding</translation>
    </message>
</context>
<context>
    <name>luma::ui::SettingsDialog</name>
    <message>
        <source>Настройка</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Гор. Клав.</source>
        <translation>Hotkeys</translation>
    </message>
    <message>
        <source>Фильтр</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Общие</source>
        <translation>General</translation>
    </message>
</context>
</TS>
