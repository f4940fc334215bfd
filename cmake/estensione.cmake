# The test of the VS Code extension's entry: node loads editors/vscode's
# extension.js against a stand-in for the editor, with the language client
# (vscode-languageclient) that npm installs into this build tree from the
# extension's pinned package-lock.json, without the packaging tools (its
# devDependencies). Like the grammar test it is left out, and configure says
# why, when node or npm is missing or npm cannot fetch the packages; the
# option SCENARIO_GRAMMAR_TEST turns both node tests off.
if(NOT SCENARIO_GRAMMAR_TEST OR CMAKE_CROSSCOMPILING)
  return()
endif()
if(NOT SCENARIO_NODE OR NOT SCENARIO_NPM)
  message(STATUS "Extension test left out: it needs node and npm (Debian: apt-get install nodejs npm)")
  return()
endif()

set(cartella_estensione ${PROJECT_SOURCE_DIR}/editors/vscode)
set(moduli_estensione ${CMAKE_BINARY_DIR}/estensione)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${cartella_estensione}/package.json ${cartella_estensione}/package-lock.json)
file(SHA256 ${cartella_estensione}/package-lock.json impronta_estensione)
set(installato "")
if(EXISTS ${moduli_estensione}/installato)
  file(READ ${moduli_estensione}/installato installato)
endif()
if(NOT installato STREQUAL impronta_estensione)
  file(REMOVE ${moduli_estensione}/installato)
  file(COPY ${cartella_estensione}/package.json ${cartella_estensione}/package-lock.json
       DESTINATION ${moduli_estensione})
  message(STATUS "Extension test: npm ci --omit=dev in ${moduli_estensione}")
  execute_process(COMMAND ${SCENARIO_NPM} ci --omit=dev --no-audit --no-fund --loglevel=error
                  WORKING_DIRECTORY ${moduli_estensione} RESULT_VARIABLE esito OUTPUT_QUIET ERROR_VARIABLE errori
                  TIMEOUT 600)
  if(NOT esito EQUAL 0)
    message(STATUS "Extension test left out: npm ci failed (${esito}): ${errori}")
    return()
  endif()
  file(WRITE ${moduli_estensione}/installato ${impronta_estensione})
endif()

add_test(NAME Estensione.StartsTheServerOfTheSettingForBothLanguages
         COMMAND ${SCENARIO_NODE} ${cartella_estensione}/test/estensione.test.js)
set_tests_properties(Estensione.StartsTheServerOfTheSettingForBothLanguages PROPERTIES
                     ENVIRONMENT NODE_PATH=${moduli_estensione}/node_modules)
