# Translations through Qt's own rules (qt_add_translations). Each catalogue
# is a Qt Linguist .ts file under translations/, named NAME_LANG.ts; it is
# compiled into <program dir>/translations in the build tree and installed
# into <prefix>/share/zorelad/translations, the two places translation.h
# looks. `cmake --build build --target update_translations` refreshes every
# .ts from the sources (one catalogue: --target <target>_lupdate), keeping
# what is translated.

find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(ZORELAD_TRANSLATIONS_BUILD_DIR ${ZORELAD_PROGRAM_DIR}/translations)

# zorelad_translations(TARGET TS ts... SOURCES files... [PLURALS_ONLY]):
# the catalogues of the messages in SOURCES, built before TARGET. English,
# the sources' language, keeps only the plural forms (PLURALS_ONLY).
function(zorelad_translations target)
  cmake_parse_arguments(T "PLURALS_ONLY" "" "TS;SOURCES" ${ARGN})
  set_source_files_properties(${T_TS} PROPERTIES OUTPUT_LOCATION ${ZORELAD_TRANSLATIONS_BUILD_DIR})
  set(options -silent -locations none -no-obsolete)
  if(T_PLURALS_ONLY)
    list(APPEND options -pluralonly)
  endif()
  qt_add_translations(${target} TS_FILES ${T_TS} SOURCES ${T_SOURCES}
    INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/src/core
    LUPDATE_OPTIONS ${options} LRELEASE_OPTIONS -silent
    QM_FILES_OUTPUT_VARIABLE qm)
  install(FILES ${qm} DESTINATION share/zorelad/translations)
endfunction()
