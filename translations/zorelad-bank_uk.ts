<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>Bank</name>
    <message>
        <source>the question</source>
        <translation>запитання</translation>
    </message>
    <message>
        <source>the answer</source>
        <translation>відповідь</translation>
    </message>
    <message>
        <source>option %1</source>
        <translation>варіант %1</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>Не вдається записати «%1»: %2</translation>
    </message>
    <message>
        <source>%1 written as &quot;%2&quot;, which windows-1251 has</source>
        <translation>%1 записано як «%2», що є у windows-1251</translation>
    </message>
    <message>
        <source>the question is empty</source>
        <translation>запитання порожнє</translation>
    </message>
    <message>
        <source>option %1 is empty</source>
        <translation>варіант %1 порожній</translation>
    </message>
    <message>
        <source>option %1 is the same as option %2</source>
        <translation>варіант %1 такий самий, як варіант %2</translation>
    </message>
    <message>
        <source>the answer is &quot;%1&quot;; it must be exactly 1, 2 or 3</source>
        <translation>відповідь «%1»; має бути рівно 1, 2 або 3</translation>
    </message>
    <message>
        <source>%1 holds the control character %2</source>
        <translation>%1 містить керівний символ %2</translation>
    </message>
    <message>
        <source>%1 holds the character %2, which windows-1251 lacks</source>
        <translation>%1 містить символ %2, якого немає у windows-1251</translation>
    </message>
    <message>
        <source>Line %1 holds the character %2, which windows-1251 lacks</source>
        <translation>Рядок %1 містить символ %2, якого немає у windows-1251</translation>
    </message>
    <message>
        <source>this line is not UTF-8 text; save the file as UTF-8</source>
        <translation>цей рядок не є текстом UTF-8; збережіть файл у кодуванні UTF-8</translation>
    </message>
    <message>
        <source>there is no level %1; the levels are 1, 2 and 3</source>
        <translation>рівня %1 немає; рівні: 1, 2 і 3</translation>
    </message>
    <message numerus="yes">
        <source>level %1 has %n question(s); it needs 24</source>
        <translation>
            <numerusform>рівень %1 містить %n запитання, а має містити 24</numerusform>
            <numerusform>рівень %1 містить %n запитання, а має містити 24</numerusform>
            <numerusform>рівень %1 містить %n запитань, а має містити 24</numerusform>
        </translation>
    </message>
    <message>
        <source>level %1 appears a second time</source>
        <translation>рівень %1 трапляється вдруге</translation>
    </message>
    <message>
        <source>this question comes before the first level heading (%1)</source>
        <translation>це запитання стоїть перед заголовком першого рівня (%1)</translation>
    </message>
    <message numerus="yes">
        <source>this question has %n line(s); it needs five: the question, three options and the number of the right option; an empty line ends a question</source>
        <translation>
            <numerusform>у цьому запитанні %n рядок; потрібно п’ять: запитання, три варіанти і номер правильного варіанта; порожній рядок завершує запитання</numerusform>
            <numerusform>у цьому запитанні %n рядки; потрібно п’ять: запитання, три варіанти і номер правильного варіанта; порожній рядок завершує запитання</numerusform>
            <numerusform>у цьому запитанні %n рядків; потрібно п’ять: запитання, три варіанти і номер правильного варіанта; порожній рядок завершує запитання</numerusform>
        </translation>
    </message>
    <message>
        <source>the same question is asked at line %1</source>
        <translation>таке саме запитання вже є в рядку %1</translation>
    </message>
    <message>
        <source>the text holds no level; a level starts with its heading, such as %1</source>
        <translation>у тексті немає жодного рівня; рівень починається із заголовка, наприклад %1</translation>
    </message>
    <message>
        <source>Zorelad questions. Each question is a block of five lines: the question, option 1, option 2,
option 3 and the number of the right option (1, 2 or 3). An empty line ends a question.
A level starts with its heading line and holds 24 questions. Lines starting with # are comments.
Save as UTF-8 and load with: sudo zorelad-import FILE /etc/zorelad/Text</source>
        <translation>Запитання Зореладу. Кожне запитання - блок із п’яти рядків: запитання, варіант 1, варіант 2,
варіант 3 і номер правильного варіанта (1, 2 або 3). Порожній рядок завершує запитання.
Рівень починається рядком-заголовком і містить 24 запитання. Рядки з # - коментарі.
Збережіть у кодуванні UTF-8 і завантажте командою: sudo zorelad-import ФАЙЛ /etc/zorelad/Text</translation>
    </message>
    <message>
        <source>A line of a question that starts with # or [ has a \ written before it.</source>
        <translation>Перед рядком запитання, що починається з # або [, написано \.</translation>
    </message>
    <message>
        <source>%1 is %2 MB; a bank text is at most %3 MB</source>
        <translation>%1 має %2 МБ; текст запитань може мати щонайбільше %3 МБ</translation>
    </message>
    <message>
        <source>%1 holds more than %2 MB; a bank text is at most %2 MB</source>
        <translation>%1 має понад %2 МБ; текст запитань може мати щонайбільше %2 МБ</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>символьне посилання</translation>
    </message>
    <message>
        <source>is %1 KB; a question file is at most %2 KB</source>
        <translation>має %1 КБ; файл запитання може мати щонайбільше %2 КБ</translation>
    </message>
    <message>
        <source>is saved as %1, not windows-1251</source>
        <translation>збережено в %1, а не у windows-1251</translation>
    </message>
    <message>
        <source>it is %1, not a folder</source>
        <translation>це %1, а не тека</translation>
    </message>
    <message>
        <source>it is %1, which is never replaced; move it away</source>
        <translation>це %1, а таке ніколи не замінюється; приберіть його звідти</translation>
    </message>
    <message>
        <source>the folder cannot be created</source>
        <translation>не вдається створити теку</translation>
    </message>
    <message>
        <source>No question file was changed.</source>
        <translation>Жодного файлу запитань не змінено.</translation>
    </message>
    <message>
        <source>Only these levels were replaced: %1.</source>
        <translation>Замінено лише ці рівні: %1.</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>це тека</translation>
    </message>
    <message>
        <source>UTF-8 with a byte order mark</source>
        <translation>UTF-8 з міткою порядку байтів (BOM)</translation>
    </message>
    <message>
        <source>the text is saved as %1, not UTF-8; it was read as %1</source>
        <translation>текст збережено в кодуванні %1, а не UTF-8; його прочитано як %1</translation>
    </message>
</context>
<context>
    <name>Check</name>
    <message>
        <source>a named pipe</source>
        <translation>іменований канал</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>тека</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>сокет</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>пристрій</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>рядок %1: %2</translation>
    </message>
    <message>
        <source>is missing</source>
        <translation>немає такого файлу</translation>
    </message>
    <message>
        <source>cannot be opened: %1</source>
        <translation>не вдається відкрити: %1</translation>
    </message>
    <message>
        <source>is %1, not a file; the program would read no question from it</source>
        <translation>це %1, а не файл; програма не прочитає з нього запитання</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>не вдається прочитати: %1</translation>
    </message>
    <message>
        <source>%1: pupils cannot enter this folder (mode %2); to allow it: sudo chmod o+rx %1</source>
        <translation>%1: учні не можуть увійти до цієї теки (права %2); щоб дозволити: sudo chmod o+rx %1</translation>
    </message>
    <message>
        <source>%1: pupils cannot read this file (mode %2); to allow it: sudo chmod o+r %1</source>
        <translation>%1: учні не можуть прочитати цей файл (права %2); щоб дозволити: sudo chmod o+r %1</translation>
    </message>
    <message numerus="yes">
        <source>has %n line(s); a question file needs five: the question, three options and the number of the right option</source>
        <translation>
            <numerusform>має %n рядок; файл запитання потребує п’яти: запитання, три варіанти і номер правильного варіанта</numerusform>
            <numerusform>має %n рядки; файл запитання потребує п’яти: запитання, три варіанти і номер правильного варіанта</numerusform>
            <numerusform>має %n рядків; файл запитання потребує п’яти: запитання, три варіанти і номер правильного варіанта</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: there is no such folder</source>
        <translation>%1: такої теки немає</translation>
    </message>
    <message>
        <source>%1 is not a question folder, but it holds one; check that: zorelad-check %2</source>
        <translation>%1 - не тека із запитаннями, але вона її містить; перевірте її: zorelad-check %2</translation>
    </message>
    <message>
        <source>%1 holds no level folders 1, 2 and 3; name the folder that does, such as /etc/zorelad/Text</source>
        <translation>у %1 немає тек рівнів 1, 2 і 3; вкажіть теку, де вони є, наприклад /etc/zorelad/Text</translation>
    </message>
    <message>
        <source>%1; to convert it: %2</source>
        <translation>%1; щоб перетворити: %2</translation>
    </message>
    <message>
        <source>the same question as in %1</source>
        <translation>те саме запитання, що й у %1</translation>
    </message>
</context>
<context>
    <name>CheckMain</name>
    <message>
        <source>Usage: zorelad-check DIR
Checks the 72 question files below DIR (1/1.z .. 3/24.z; installed: /etc/zorelad/Text)
the way the program reads them: five lines each, the right option 1, 2 or 3, nothing empty
or repeated, every text shown in full, windows-1251 text pupils may read.
Exit status 0 when all is well, 1 when there are problems.
</source>
        <translation>Використання: zorelad-check ТЕКА
Перевіряє 72 файли запитань у ТЕЦІ (1/1.z .. 3/24.z; після встановлення: /etc/zorelad/Text)
так, як їх читає програма: по п’ять рядків, правильний варіант 1, 2 або 3, нічого порожнього
чи повтореного, кожен текст видно повністю, текст windows-1251, який учні можуть прочитати.
Код виходу 0, коли все гаразд, 1, коли є проблеми.
</translation>
    </message>
    <message>
        <source>All 72 question files are fine.</source>
        <translation>Усі 72 файли запитань без помилок.</translation>
    </message>
    <message numerus="yes">
        <source>%n problem(s) found.</source>
        <translation>
            <numerusform>Знайдено %n проблему.</numerusform>
            <numerusform>Знайдено %n проблеми.</numerusform>
            <numerusform>Знайдено %n проблем.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Usage: zorelad-export TEXTDIR [FILE]
Writes the questions below TEXTDIR (a Text folder, or one level&apos;s folder such as Text/2)
as one UTF-8 text to FILE, or to standard output without FILE. Edit it in any text editor
and load it back with: sudo zorelad-import FILE TEXTDIR
</source>
        <translation>Використання: zorelad-export ТЕКА [ФАЙЛ]
Записує запитання з ТЕКИ (теки Text або теки одного рівня, наприклад Text/2)
одним текстом UTF-8 у ФАЙЛ, а без ФАЙЛУ - на стандартний вивід. Редагуйте його в будь-якому
текстовому редакторі й завантажте назад командою: sudo zorelad-import ФАЙЛ ТЕКА
</translation>
    </message>
</context>
<context>
    <name>Fit</name>
    <message numerus="yes">
        <source>a word of the question is about %n character(s) too long for its box; shorten it</source>
        <translation>
            <numerusform>у запитанні є слово, довше приблизно на %n символ, ніж вміщує поле, — скоротіть його</numerusform>
            <numerusform>у запитанні є слово, довше приблизно на %n символи, ніж вміщує поле, — скоротіть його</numerusform>
            <numerusform>у запитанні є слово, довше приблизно на %n символів, ніж вміщує поле, — скоротіть його</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the question is about %n character(s) too long for its box; shorten it</source>
        <translation>
            <numerusform>запитання довше приблизно на %n символ, ніж вміщує поле, — скоротіть його</numerusform>
            <numerusform>запитання довше приблизно на %n символи, ніж вміщує поле, — скоротіть його</numerusform>
            <numerusform>запитання довше приблизно на %n символів, ніж вміщує поле, — скоротіть його</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>option %1 is about %n character(s) too long and would be cut off; shorten it</source>
        <translation>
            <numerusform>варіант %1 довший приблизно на %n символ, і його буде обрізано, — скоротіть його</numerusform>
            <numerusform>варіант %1 довший приблизно на %n символи, і його буде обрізано, — скоротіть його</numerusform>
            <numerusform>варіант %1 довший приблизно на %n символів, і його буде обрізано, — скоротіть його</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>Usage: zorelad-import FILE TEXTDIR
Reads the questions in FILE (UTF-8 text as zorelad-export writes it; - reads standard input),
checks every one and, only when all are sound, writes them as question files below TEXTDIR
(for instance /etc/zorelad/Text, with sudo). Otherwise each problem is named with its line
and no file is changed.
</source>
        <translation>Використання: zorelad-import ФАЙЛ ТЕКА
Читає запитання з ФАЙЛУ (текст UTF-8, як його пише zorelad-export; - читає стандартний ввід),
перевіряє кожне і, лише коли всі без вад, записує їх як файли запитань у ТЕКУ
(наприклад /etc/zorelad/Text, через sudo). Інакше називає кожну проблему з її рядком
і не змінює жодного файлу.
</translation>
    </message>
</context>
<context>
    <name>Tools</name>
    <message>
        <source>Cannot open &quot;%1&quot;: %2</source>
        <translation>Не вдається відкрити «%1»: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n problem(s) found; no question file was changed.</source>
        <translation>
            <numerusform>Знайдено %n проблему; жодного файлу запитань не змінено.</numerusform>
            <numerusform>Знайдено %n проблеми; жодного файлу запитань не змінено.</numerusform>
            <numerusform>Знайдено %n проблем; жодного файлу запитань не змінено.</numerusform>
        </translation>
    </message>
    <message>
        <source>No question file was changed.</source>
        <translation>Жодного файлу запитань не змінено.</translation>
    </message>
    <message numerus="yes">
        <source>Wrote %n question file(s) below %1.</source>
        <translation>
            <numerusform>Записано %n файл запитання в %1.</numerusform>
            <numerusform>Записано %n файли запитань в %1.</numerusform>
            <numerusform>Записано %n файлів запитань в %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot write the standard output: %1</source>
        <translation>Не вдається записати у стандартний вивід: %1</translation>
    </message>
    <message>
        <source>%1 is the folder of level %2; name the Text folder above it (%3) to import these levels</source>
        <translation>%1 — тека рівня %2; щоб імпортувати ці рівні, вкажіть теку Text над нею (%3)</translation>
    </message>
</context>
</TS>
