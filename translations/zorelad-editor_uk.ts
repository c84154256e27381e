<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>main</name>
    <message>
        <source>Usage: zorelad-editor [TEXTDIR | FILE]
Edits Zorelad&apos;s questions: a Text folder (by default the installed one) or a bank text written by zorelad-export.
</source>
        <translation>Використання: zorelad-editor [ТЕКА | ФАЙЛ]
Редагує запитання Зорелад: теку Text (типово — встановлену) або текст банку, записаний zorelad-export.
</translation>
    </message>
    <message>
        <source>Usage: zorelad-editor [TEXTDIR | FILE]
</source>
        <translation>Використання: zorelad-editor [ТЕКА | ФАЙЛ]
</translation>
    </message>
</context>
<context>
    <name>zorelad::EditorBank</name>
    <message>
        <source>Level %1, question %2</source>
        <translation>Рівень %1, запитання %2</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>рядок %1: %2</translation>
    </message>
    <message>
        <source>The folder %1 holds no question levels (folders 1, 2 and 3).</source>
        <translation>У папці %1 немає рівнів питань (папок 1, 2 і 3).</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не вдається відкрити %1: %2</translation>
    </message>
    <message>
        <source>%1 does not hold all three levels; open a Text folder and import it there.</source>
        <translation>%1 містить не всі три рівні; відкрийте теку Text та імпортуйте його туди.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>You may not write to the folder %1 (%2).</source>
        <translation>Немає дозволу на запис до теки %1 (%2).</translation>
    </message>
    <message>
        <source>These questions were changed on disk since they were opened here: %1.</source>
        <translation>Ці запитання змінено на диску, відколи їх тут відкрито: %1.</translation>
    </message>
    <message>
        <source>; change and save the question to write it in windows-1251</source>
        <translation>; щоб записати його у windows-1251, змініть і збережіть запитання</translation>
    </message>
</context>
<context>
    <name>zorelad::EditorWindow</name>
    <message>
        <source>Level %1</source>
        <translation>Рівень %1</translation>
    </message>
    <message>
        <source>Questions</source>
        <translation>Запитання</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Запитання</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Стан</translation>
    </message>
    <message>
        <source>Question text</source>
        <translation>Текст запитання</translation>
    </message>
    <message>
        <source>&amp;Question:</source>
        <translation>&amp;Запитання:</translation>
    </message>
    <message>
        <source>Right option (Alt+1, Alt+2, Alt+3), options:</source>
        <translation>Правильний варіант (Alt+1, Alt+2, Alt+3) і варіанти:</translation>
    </message>
    <message>
        <source>Option %1 is the right one</source>
        <translation>Варіант %1 правильний</translation>
    </message>
    <message>
        <source>Option %1</source>
        <translation>Варіант %1</translation>
    </message>
    <message>
        <source>Move &amp;up</source>
        <translation>&amp;Вгору</translation>
    </message>
    <message>
        <source>Move &amp;down</source>
        <translation>В&amp;низ</translation>
    </message>
    <message>
        <source>S&amp;wap with…</source>
        <translation>&amp;Поміняти місцями з…</translation>
    </message>
    <message>
        <source>As the pupil sees it:</source>
        <translation>Як його побачить учень:</translation>
    </message>
    <message>
        <source>Problems of the question</source>
        <translation>Вади запитання</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Open Text folder…</source>
        <translation>&amp;Відкрити теку Text…</translation>
    </message>
    <message>
        <source>Open bank &amp;text…</source>
        <translation>Відкрити &amp;текст банку…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Зберегти</translation>
    </message>
    <message>
        <source>Save a &amp;copy in a folder…</source>
        <translation>Зберегти &amp;копію в теку…</translation>
    </message>
    <message>
        <source>&amp;Import text…</source>
        <translation>&amp;Імпортувати текст…</translation>
    </message>
    <message>
        <source>&amp;Export this level…</source>
        <translation>&amp;Експортувати цей рівень…</translation>
    </message>
    <message>
        <source>Export the &amp;whole bank…</source>
        <translation>Експортувати &amp;весь банк…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>Ви&amp;йти</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Скасувати</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Повторити</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>П&amp;ерехід</translation>
    </message>
    <message>
        <source>&amp;Previous question</source>
        <translation>П&amp;опереднє запитання</translation>
    </message>
    <message>
        <source>&amp;Next question</source>
        <translation>&amp;Наступне запитання</translation>
    </message>
    <message>
        <source>&amp;List of questions</source>
        <translation>&amp;Список питань</translation>
    </message>
    <message>
        <source>You may read this folder but not write to it: save a copy or export.</source>
        <translation>Цю теку можна читати, але не змінювати: збережіть копію або експортуйте запитання.</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Рядок %1: %2</translation>
    </message>
    <message>
        <source>The question is sound.</source>
        <translation>Запитання без помилок.</translation>
    </message>
    <message>
        <source>sound</source>
        <translation>без помилок</translation>
    </message>
    <message>
        <source>Zorelad question editor — %1[*]</source>
        <translation>Редактор питань Зорелад — %1[*]</translation>
    </message>
    <message>
        <source>Saved.</source>
        <translation>Збережено.</translation>
    </message>
    <message>
        <source>Not saved</source>
        <translation>Не збережено</translation>
    </message>
    <message>
        <source>Nothing was saved.
%1</source>
        <translation>Нічого не збережено.
%1</translation>
    </message>
    <message>
        <source>Save a &amp;copy…</source>
        <translation>Зберегти &amp;копію…</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>&amp;Експортувати…</translation>
    </message>
    <message>
        <source>Open a Text folder</source>
        <translation>Відкрити теку Text</translation>
    </message>
    <message>
        <source>Open a bank text</source>
        <translation>Відкрити текст банку</translation>
    </message>
    <message>
        <source>Bank text (*.txt);;All files (*)</source>
        <translation>Текст банку (*.txt);;Усі файли (*)</translation>
    </message>
    <message>
        <source>Save a copy in a folder</source>
        <translation>Зберегти копію в теку</translation>
    </message>
    <message>
        <source>Not exported</source>
        <translation>Не експортовано</translation>
    </message>
    <message>
        <source>Export %1</source>
        <translation>Експорт: %1</translation>
    </message>
    <message>
        <source>Export the whole bank</source>
        <translation>Експорт усього банку</translation>
    </message>
    <message>
        <source>Exported to %1.</source>
        <translation>Експортовано в %1.</translation>
    </message>
    <message>
        <source>Import a bank text</source>
        <translation>Імпорт тексту банку</translation>
    </message>
    <message>
        <source>Not imported</source>
        <translation>Не імпортовано</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Не вдається відкрити %1: %2</translation>
    </message>
    <message>
        <source>Imported</source>
        <translation>Імпортовано</translation>
    </message>
    <message>
        <source>Swap %1 with</source>
        <translation>Поміняти місцями: %1 з…</translation>
    </message>
    <message>
        <source>&amp;Level:</source>
        <translation>&amp;Рівень:</translation>
    </message>
    <message>
        <source>&amp;Question number:</source>
        <translation>&amp;Номер запитання:</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Незбережені зміни</translation>
    </message>
    <message>
        <source>Some questions were changed. Save them before closing?</source>
        <translation>Деякі запитання змінено. Зберегти їх перед закриттям?</translation>
    </message>
    <message>
        <source>Changed on disk</source>
        <translation>Змінено на диску</translation>
    </message>
    <message>
        <source>%1
Save your changes over them?</source>
        <translation>%1
Зберегти ваші зміни замість них?</translation>
    </message>
    <message>
        <source>Not saved.</source>
        <translation>Не збережено.</translation>
    </message>
    <message>
        <source>Still saving: the folder %1 does not answer. The questions stay here until it does.</source>
        <translation>Ще зберігаю: тека %1 не відповідає. Запитання залишаються тут, доки вона не відповість.</translation>
    </message>
    <message>
        <source>Cannot open the questions.</source>
        <translation>Не вдається відкрити запитання.</translation>
    </message>
    <message>
        <source>Nothing was taken.</source>
        <translation>Нічого не взято.</translation>
    </message>
    <message numerus="yes">
        <source>…and %n more; the details list them all.</source>
        <translation>
            <numerusform>…і ще %n; усі вони — у подробицях.</numerusform>
            <numerusform>…і ще %n; усі вони — у подробицях.</numerusform>
            <numerusform>…і ще %n; усі вони — у подробицях.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (a copy: the quiz reads %2)</source>
        <translation>%1 (копія: вікторина читає %2)</translation>
    </message>
    <message>
        <source>Only teachers of the group &quot;%1&quot; may save in this folder. To become one, ask the school&apos;s administrator to run &quot;sudo adduser %2 %1&quot;, then log out and in again.</source>
        <translation>Зберігати в цю теку можуть лише вчителі з групи «%1». Щоб стати одним із них, попросіть адміністратора школи виконати «sudo adduser %2 %1», а тоді вийдіть із системи й увійдіть знову.</translation>
    </message>
    <message>
        <source>Save as &amp;administrator</source>
        <translation>Зберегти як &amp;адміністратор</translation>
    </message>
    <message>
        <source>The questions were not saved as administrator.
%1</source>
        <translation>Запитання не збережено як адміністратор.
%1</translation>
    </message>
    <message>
        <source>Copy saved</source>
        <translation>Копію збережено</translation>
    </message>
    <message>
        <source>The questions were saved in %1. The quiz does not read this copy: it reads %2.</source>
        <translation>Запитання збережено в %1. Вікторина цієї копії не читає: вона бере запитання з %2.</translation>
    </message>
</context>
<context>
    <name>zorelad::QuestionPreview</name>
    <message>
        <source>Preview: the question as the pupil sees it</source>
        <translation>Перегляд: запитання таким, як його побачить учень</translation>
    </message>
</context>
</TS>
