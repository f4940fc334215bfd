# Node.js and npm for the editor files' tests and the .vsix, found once.

# SCENARIO_NODE and SCENARIO_NPM; when either is missing and the configure
# step installs packages, Node.js from Debian first (scripts/pacchetti.txt,
# group "grammar"), as it installs the other packages.
function(scenario_trova_node)
  find_program(SCENARIO_NODE node)
  find_program(SCENARIO_NPM npm)
  if((NOT SCENARIO_NODE OR NOT SCENARIO_NPM) AND SCENARIO_INSTALLA_PACCHETTI)
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/installa-pacchetti grammar)
    unset(SCENARIO_NODE CACHE)
    unset(SCENARIO_NPM CACHE)
    find_program(SCENARIO_NODE node)
    find_program(SCENARIO_NPM npm)
  endif()
endfunction()

# `npm ci ARGS...` in MODULI from the package.json and pinned package-lock.json
# of SORGENTE: once, and again whenever the lock changes (its hash is kept in
# MODULI/installato). ESITO gets an empty text, or why npm failed.
function(scenario_npm_ci sorgente moduli esito)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sorgente}/package.json
               ${sorgente}/package-lock.json)
  file(SHA256 ${sorgente}/package-lock.json impronta)
  set(installato "")
  if(EXISTS ${moduli}/installato)
    file(READ ${moduli}/installato installato)
  endif()
  set(${esito} "" PARENT_SCOPE)
  if(installato STREQUAL impronta)
    return()
  endif()
  file(REMOVE ${moduli}/installato)
  file(COPY ${sorgente}/package.json ${sorgente}/package-lock.json DESTINATION ${moduli})
  string(JOIN " " opzioni npm ci ${ARGN})
  message(STATUS "${opzioni} in ${moduli}")
  execute_process(COMMAND ${SCENARIO_NPM} ci ${ARGN} --no-audit --no-fund --loglevel=error
                  WORKING_DIRECTORY ${moduli} RESULT_VARIABLE stato OUTPUT_QUIET ERROR_VARIABLE errori
                  TIMEOUT 600)
  if(NOT stato EQUAL 0)
    set(${esito} "npm ci failed (${stato}): ${errori}" PARENT_SCOPE)
    return()
  endif()
  file(WRITE ${moduli}/installato ${impronta})
endfunction()
