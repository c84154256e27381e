<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Bank</name>
    <message numerus="yes">
        <source>level %1 has %n question(s); it needs 24</source>
        <translation>
            <numerusform>level %1 has %n question; it needs 24</numerusform>
            <numerusform>level %1 has %n questions; it needs 24</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>this question has %n line(s); it needs five: the question, three options and the number of the right option; an empty line ends a question</source>
        <translation>
            <numerusform>this question has %n line; it needs five: the question, three options and the number of the right option; an empty line ends a question</numerusform>
            <numerusform>this question has %n lines; it needs five: the question, three options and the number of the right option; an empty line ends a question</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Check</name>
    <message numerus="yes">
        <source>has %n line(s); a question file needs five: the question, three options and the number of the right option</source>
        <translation>
            <numerusform>has %n line; a question file needs five: the question, three options and the number of the right option</numerusform>
            <numerusform>has %n lines; a question file needs five: the question, three options and the number of the right option</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CheckMain</name>
    <message numerus="yes">
        <source>%n problem(s) found.</source>
        <translation>
            <numerusform>%n problem found.</numerusform>
            <numerusform>%n problems found.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Fit</name>
    <message numerus="yes">
        <source>a word of the question is about %n character(s) too long for its box; shorten it</source>
        <translation>
            <numerusform>a word of the question is about %n character too long for its box; shorten it</numerusform>
            <numerusform>a word of the question is about %n characters too long for its box; shorten it</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the question is about %n character(s) too long for its box; shorten it</source>
        <translation>
            <numerusform>the question is about %n character too long for its box; shorten it</numerusform>
            <numerusform>the question is about %n characters too long for its box; shorten it</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>option %1 is about %n character(s) too long and would be cut off; shorten it</source>
        <translation>
            <numerusform>option %1 is about %n character too long and would be cut off; shorten it</numerusform>
            <numerusform>option %1 is about %n characters too long and would be cut off; shorten it</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Tools</name>
    <message numerus="yes">
        <source>%n problem(s) found; no question file was changed.</source>
        <translation>
            <numerusform>%n problem found; no question file was changed.</numerusform>
            <numerusform>%n problems found; no question file was changed.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Wrote %n question file(s) below %1.</source>
        <translation>
            <numerusform>Wrote %n question file below %1.</numerusform>
            <numerusform>Wrote %n question files below %1.</numerusform>
        </translation>
    </message>
</context>
</TS>
