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
    <message>
        <source>thresholds wants 11 counts of right answers from 0 to 24, each at least the one before, as 3,5,7,9,11,13,15,17,19,21,23; ignored</source>
        <translation>thresholds потребує 11 чисел правильних відповідей від 0 до 24, кожне не менше попереднього, як-от 3,5,7,9,11,13,15,17,19,21,23; пропущено</translation>
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
    <name>JournalSummary</name>
    <message>
        <source>(changed question)</source>
        <translation>(змінене запитання)</translation>
    </message>
    <message>
        <source>check the key or the wording</source>
        <translation>перевірте ключ або формулювання</translation>
    </message>
    <message>
        <source>also written as: %1</source>
        <translation>записано також як: %1</translation>
    </message>
    <message>
        <source>Pupil</source>
        <translation>Учень</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Рівень</translation>
    </message>
    <message>
        <source>Best</source>
        <translation>Найкраще</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Оцінка</translation>
    </message>
    <message>
        <source>Tries</source>
        <translation>Спроб</translation>
    </message>
    <message>
        <source>Last played</source>
        <translation>Востаннє</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Правильно</translation>
    </message>
    <message>
        <source>Option 1</source>
        <translation>Варіант 1</translation>
    </message>
    <message>
        <source>Option 2</source>
        <translation>Варіант 2</translation>
    </message>
    <message>
        <source>Option 3</source>
        <translation>Варіант 3</translation>
    </message>
    <message>
        <source>Separation</source>
        <translation>Розрізнення</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Запитання</translation>
    </message>
    <message>
        <source>Level %1, questions as asked %2 (answered %3 times, last %4)</source>
        <translation>Рівень %1, запитання в редакції %2 (відповідей: %3, востаннє %4)</translation>
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
        <source>Class</source>
        <translation>Клас</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Примітка</translation>
    </message>
    <message>
        <source>No records with answers.</source>
        <translation>Записів із відповідями немає.</translation>
    </message>
    <message>
        <source>* the right option; separation: right answers among the strongest 27 % less among the weakest 27 % of the answers.</source>
        <translation>* правильний варіант; розрізнення: частка правильних серед найсильніших 27 % відповідей мінус частка серед найслабших 27 %.</translation>
    </message>
    <message>
        <source>Questions as asked</source>
        <translation>Редакція запитань</translation>
    </message>
    <message>
        <source>Right option</source>
        <translation>Правильний варіант</translation>
    </message>
    <message>
        <source>Answers</source>
        <translation>Відповідей</translation>
    </message>
    <message>
        <source>Pupils</source>
        <translation>Учні</translation>
    </message>
    <message>
        <source>Questions</source>
        <translation>Запитання</translation>
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
    <message>
        <source>FOLDER: the journal folder (every *.csv in it is read); with --open, the one in the settings when left out</source>
        <translation>ТЕКА: тека журналу (читаються всі *.csv у ній); з --open, якщо не вказано, — тека з налаштувань</translation>
    </message>
    <message>
        <source>one line per pupil and level: best result, mark, tries</source>
        <translation>рядок на учня й рівень: найкращий результат, оцінка, спроби</translation>
    </message>
    <message>
        <source>how each question of a level was answered, as it was asked</source>
        <translation>як відповідали на кожне запитання рівня в тій редакції, у якій його поставили</translation>
    </message>
    <message>
        <source>read the questions&apos; texts from the Text folder FOLDER</source>
        <translation>брати тексти запитань із теки запитань ТЕКА (Text)</translation>
    </message>
    <message>
        <source>FOLDER</source>
        <translation>ТЕКА</translation>
    </message>
    <message>
        <source>write the pupils and the questions as a page and open it in the browser</source>
        <translation>скласти сторінку з учнями й запитаннями та відкрити її у браузері</translation>
    </message>
    <message>
        <source>choose one of --pupils, --questions and --open</source>
        <translation>виберіть щось одне: --pupils, --questions або --open</translation>
    </message>
    <message>
        <source>Pupils&apos; results</source>
        <translation>Результати учнів</translation>
    </message>
    <message>
        <source>Questions</source>
        <translation>Запитання</translation>
    </message>
    <message>
        <source>Zorelad results</source>
        <translation>Результати Зорелад</translation>
    </message>
    <message>
        <source>%1: cannot create the folder</source>
        <translation>%1: не вдається створити теку</translation>
    </message>
    <message>
        <source>xdg-open could not be started; open %1 in a browser</source>
        <translation>не вдалося запустити xdg-open; відкрийте %1 у браузері</translation>
    </message>
    <message>
        <source>No journal folder is set in the settings (zorelad.conf, [journal] folder=).</source>
        <translation>У налаштуваннях не названо теки журналу (zorelad.conf, [journal] folder=).</translation>
    </message>
    <message>
        <source>%1: no such folder, or it cannot be read.</source>
        <translation>%1: такої теки немає або її не вдається прочитати.</translation>
    </message>
</context>
</TS>
