<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>main</name>
    <message>
        <source>neither DISPLAY nor WAYLAND_DISPLAY is set</source>
        <translation>не задано ні DISPLAY, ні WAYLAND_DISPLAY</translation>
    </message>
    <message>
        <source>cannot connect to &quot;%1&quot;</source>
        <translation>не вдається з’єднатися з «%1»</translation>
    </message>
    <message>
        <source>zorelad: no display (%1); start it from a desktop session</source>
        <translation>zorelad: немає екрана (%1); запустіть програму з робочого стола</translation>
    </message>
    <message>
        <source>zorelad: a Wayland session without X11: the compositor places the windows</source>
        <translation>zorelad: сеанс Wayland без X11: вікна розташовує композитор</translation>
    </message>
</context>
</TS>
