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
scenario_npm_ci(${cartella_estensione} ${moduli_estensione} perche --omit=dev)
if(perche)
  message(STATUS "Extension test left out: ${perche}")
  return()
endif()

add_test(NAME Estensione.StartsTheServerOfTheSettingForBothLanguages
         COMMAND ${SCENARIO_NODE} ${cartella_estensione}/test/estensione.test.js)
set_tests_properties(Estensione.StartsTheServerOfTheSettingForBothLanguages PROPERTIES
                     ENVIRONMENT NODE_PATH=${moduli_estensione}/node_modules)
