<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>JournalMessages</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>disk full</source>
        <translation>диск заповнено</translation>
    </message>
    <message>
        <source>journal kept in %1 for now: %2</source>
        <translation>журнал поки що зберігається в %1: %2</translation>
    </message>
    <message>
        <source>%1: cannot create the folder</source>
        <translation>%1: не вдається створити теку</translation>
    </message>
    <message>
        <source>folder &quot;%1&quot; is not an absolute path</source>
        <translation>тека «%1» задана не абсолютним шляхом</translation>
    </message>
    <message>
        <source>not a regular file, left alone</source>
        <translation>не звичайний файл, його не чіпаємо</translation>
    </message>
    <message>
        <source>%1: line %2 was cut short or damaged and is dropped</source>
        <translation>%1: рядок %2 обірваний або пошкоджений, його відкинуто</translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>journal kept in memory for now: %1</source>
        <translation>журнал поки що в пам&apos;яті: %1</translation>
    </message>
    <message>
        <source>%1; did you mean %2?</source>
        <translation>%1; можливо, %2?</translation>
    </message>
    <message>
        <source>folder &quot;%1&quot; holds the character %2, which a path should not have</source>
        <translation>у теці «%1» є символ %2, якого не має бути в шляху</translation>
    </message>
    <message>
        <source>%1:%2: %3</source>
        <translation>%1:%2: %3</translation>
    </message>
    <message>
        <source>not a regular file; ignored</source>
        <translation>не звичайний файл; пропущено</translation>
    </message>
    <message>
        <source>cannot be read; ignored</source>
        <translation>не вдається прочитати; пропущено</translation>
    </message>
    <message>
        <source>not a text file (UTF-8); ignored</source>
        <translation>не текстовий файл (UTF-8); пропущено</translation>
    </message>
    <message>
        <source>unknown section %1; ignored</source>
        <translation>невідомий розділ %1; пропущено</translation>
    </message>
    <message>
        <source>not a setting (key=value); ignored</source>
        <translation>не налаштування (ключ=значення); пропущено</translation>
    </message>
    <message>
        <source>%1; ignored</source>
        <translation>%1; пропущено</translation>
    </message>
    <message>
        <source>host is set in the computer&apos;s settings only; ignored</source>
        <translation>host задають лише в налаштуваннях комп&apos;ютера; пропущено</translation>
    </message>
    <message>
        <source>unknown key %1; ignored</source>
        <translation>невідомий ключ %1; пропущено</translation>
    </message>
</context>
<context>
    <name>JournalReport</name>
    <message>
        <source>Pupil</source>
        <translation>Учень</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Дата і час</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Рівень</translation>
    </message>
    <message>
        <source>Correct</source>
        <translation>Правильних</translation>
    </message>
    <message>
        <source>Grade</source>
        <translation>Оцінка</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Комп&apos;ютер</translation>
    </message>
    <message>
        <source>Pupils: %1; levels passed: %2 of %3; average correct: %4</source>
        <translation>Учнів: %1; рівнів пройдено: %2 з %3; у середньому правильних: %4</translation>
    </message>
    <message>
        <source>%1: cannot be read: %2</source>
        <translation>%1: не вдається прочитати: %2</translation>
    </message>
    <message>
        <source>%1: not a journal file, skipped</source>
        <translation>%1: це не файл журналу, пропущено</translation>
    </message>
    <message>
        <source>%1:%2: line cut short, skipped</source>
        <translation>%1:%2: рядок обірвано, пропущено</translation>
    </message>
    <message>
        <source>%1:%2: damaged line, skipped</source>
        <translation>%1:%2: пошкоджений рядок, пропущено</translation>
    </message>
    <message>
        <source>%1: the newest record is %2 minutes later than the file; check that computer&apos;s clock</source>
        <translation>%1: найновіший запис на %2 хв пізніший за сам файл; перевірте годинник цього комп&apos;ютера</translation>
    </message>
    <message>
        <source>No records.</source>
        <translation>Записів немає.</translation>
    </message>
    <message>
        <source>Class %1</source>
        <translation>Клас %1</translation>
    </message>
    <message>
        <source>%1: not a regular file, skipped</source>
        <translation>%1: не звичайний файл, пропущено</translation>
    </message>
    <message>
        <source>%1: larger than %2 MB, skipped</source>
        <translation>%1: більший за %2 МБ, пропущено</translation>
    </message>
    <message>
        <source>%1: holds records since %2 not yet delivered; that computer cannot write to the folder</source>
        <translation>%1: тут є записи від %2, ще не передані; цей комп&apos;ютер не може писати в теку</translation>
    </message>
    <message>
        <source>No records of class %1; the classes in the journal: %2.</source>
        <translation>Записів класу %1 немає; у журналі є класи: %2.</translation>
    </message>
    <message>
        <source>No records since %1.</source>
        <translation>Записів від %1 немає.</translation>
    </message>
    <message>
        <source>No records of level %1 for this choice.</source>
        <translation>Записів рівня %1 за цим вибором немає.</translation>
    </message>
</context>
<context>
    <name>JournalTool</name>
    <message>
        <source>Merges the results journal of every computer in FOLDER into one table.</source>
        <translation>Зводить журнал результатів усіх комп&apos;ютерів із ТЕКИ в одну таблицю.</translation>
    </message>
    <message>
        <source>only the class CLASS, as in 5-А</source>
        <translation>лише клас КЛАС, наприклад 5-А</translation>
    </message>
    <message>
        <source>CLASS</source>
        <translation>КЛАС</translation>
    </message>
    <message>
        <source>DATE</source>
        <translation>ДАТА</translation>
    </message>
    <message>
        <source>only level N (1, 2 or 3)</source>
        <translation>лише рівень N (1, 2 або 3)</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>text (the default), csv or html</source>
        <translation>text (типово), csv або html</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <translation>ФОРМАТ</translation>
    </message>
    <message>
        <source>write to FILE instead of the terminal</source>
        <translation>записати у ФАЙЛ, а не на термінал</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>also read FILE, a computer&apos;s spool of records not yet delivered (may be repeated)</source>
        <translation>прочитати також ФАЙЛ, чергу ще не доставлених записів комп&apos;ютера (можна кілька разів)</translation>
    </message>
    <message>
        <source>also read this user&apos;s own spool</source>
        <translation>прочитати також чергу цього користувача</translation>
    </message>
    <message>
        <source>usage: zorelad-journal [options] FOLDER   (zorelad-journal --help)</source>
        <translation>використання: zorelad-journal [параметри] ТЕКА   (zorelad-journal --help)</translation>
    </message>
    <message>
        <source>--level wants 1, 2 or 3, not &quot;%1&quot;</source>
        <translation>--level потребує 1, 2 або 3, а не «%1»</translation>
    </message>
    <message>
        <source>--format wants text, csv or html, not &quot;%1&quot;</source>
        <translation>--format потребує text, csv або html, а не «%1»</translation>
    </message>
    <message>
        <source>Results journal</source>
        <translation>Журнал результатів</translation>
    </message>
    <message>
        <source>Usage: zorelad-journal [options] FOLDER</source>
        <translation>Використання: zorelad-journal [параметри] ТЕКА</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Параметри:</translation>
    </message>
    <message>
        <source>FOLDER: the journal folder (every *.csv in it is read)</source>
        <translation>ТЕКА: тека журналу (читаються всі її файли *.csv)</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>показати цю довідку</translation>
    </message>
    <message>
        <source>only levels played on DATE or later (09.12.2026, 09.12 or 2026-12-09)</source>
        <translation>лише рівні, пройдені ДАТИ або пізніше (09.12.2026, 09.12 або 2026-12-09)</translation>
    </message>
    <message>
        <source>--since wants a date as 09.12.2026, 09.12 or 2026-12-09, not &quot;%1&quot;</source>
        <translation>--since потребує дати у вигляді 09.12.2026, 09.12 або 2026-12-09, а не «%1»</translation>
    </message>
</context>
</TS>
