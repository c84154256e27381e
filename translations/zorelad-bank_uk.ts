<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>Bank</name>
    <message>
        <source>the question</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 written as &quot;%2&quot;, which windows-1251 has</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the question is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option %1 is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>option %1 is the same as option %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the answer is &quot;%1&quot;; it must be exactly 1, 2 or 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds the control character %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 holds the character %2, which windows-1251 lacks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1 holds the character %2, which windows-1251 lacks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this line is not UTF-8 text; save the file as UTF-8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>there is no level %1; the levels are 1, 2 and 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>level %1 has %n question(s); it needs 24</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>level %1 appears a second time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this question comes before the first level heading (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>this question has %n line(s); it needs five: the question, three options and the number of the right option; an empty line ends a question</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>the same question is asked at line %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the text holds no level; a level starts with its heading, such as %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zorelad questions. Each question is a block of five lines: the question, option 1, option 2,
option 3 and the number of the right option (1, 2 or 3). An empty line ends a question.
A level starts with its heading line and holds 24 questions. Lines starting with # are comments.
Save as UTF-8 and load with: sudo zorelad-import FILE /etc/zorelad/Text</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
