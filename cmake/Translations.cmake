# Translations of the teachers' tools. Sources are Qt Linguist .ts files;
# lrelease (qt6-l10n-tools) builds them into .qm files, which land in
# <program dir>/translations in the build tree and in
# <prefix>/share/zorelad/translations when installed; translation.h loads
# them from either place.

find_program(ZORELAD_LRELEASE lrelease HINTS /usr/lib/qt6/bin NO_DEFAULT_PATH)
find_program(ZORELAD_LRELEASE lrelease REQUIRED)
find_program(ZORELAD_LUPDATE lupdate HINTS /usr/lib/qt6/bin NO_DEFAULT_PATH)

set(ZORELAD_TRANSLATIONS_BUILD_DIR ${ZORELAD_PROGRAM_DIR}/translations)
set(ZORELAD_INSTALL_TRANSLATIONSDIR share/zorelad/translations)

# zorelad_add_translations(TARGET ts...): builds each .ts (a file named
# NAME_LANG.ts) into NAME_LANG.qm before TARGET and installs it. Several
# targets may share a .ts; it is built and installed once.
function(zorelad_add_translations target)
  foreach(ts ${ARGN})
    get_filename_component(abs ${ts} ABSOLUTE)
    get_filename_component(name ${ts} NAME_WE)
    set(qm_target zorelad_qm_${name})
    if(NOT TARGET ${qm_target})
      set(qm ${ZORELAD_TRANSLATIONS_BUILD_DIR}/${name}.qm)
      add_custom_command(OUTPUT ${qm}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORELAD_TRANSLATIONS_BUILD_DIR}
        COMMAND ${ZORELAD_LRELEASE} -silent ${abs} -qm ${qm}
        DEPENDS ${abs}
        VERBATIM)
      add_custom_target(${qm_target} DEPENDS ${qm})
      install(FILES ${qm} DESTINATION ${ZORELAD_INSTALL_TRANSLATIONSDIR})
    endif()
    add_dependencies(${target} ${qm_target})
  endforeach()
endfunction()

# zorelad_update_translations(NAME TS ts... DIRS dir...): a target NAME that
# refreshes each .ts from the sources in DIRS (relative to the source tree's
# root) with lupdate, keeping what is translated. English, the sources'
# language, keeps only the plural forms. Run by hand
# (cmake --build build --target NAME) after changing messages.
function(zorelad_update_translations name)
  cmake_parse_arguments(U "" "" "TS;DIRS" ${ARGN})
  if(NOT ZORELAD_LUPDATE)
    return()
  endif()
  set(commands)
  foreach(ts ${U_TS})
    get_filename_component(abs ${ts} ABSOLUTE)
    set(options -silent -locations none -no-obsolete)
    if(abs MATCHES "_en\\.ts$")
      list(APPEND options -pluralonly)
    endif()
    list(APPEND commands COMMAND ${ZORELAD_LUPDATE} ${options} ${U_DIRS} -ts ${abs})
  endforeach()
  add_custom_target(${name} ${commands}
    WORKING_DIRECTORY ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..
    VERBATIM)
endfunction()
