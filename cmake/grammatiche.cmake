# The test of the editors' grammars: node runs editors/vscode/test with the
# editor's TextMate engine (vscode-textmate, vscode-oniguruma), which npm
# installs into this build tree from the pinned package-lock.json once, and
# again whenever the lock changes. Without node and npm, or when npm cannot
# fetch the two packages, the test is left out and configure says why. When
# node or npm is missing, configure installs Node.js from Debian first
# (scripts/pacchetti.txt, group "grammar"), as it installs the other packages.
option(SCENARIO_GRAMMAR_TEST "Test the editors' grammars with node (npm installs its two packages)" ON)
if(NOT SCENARIO_GRAMMAR_TEST OR CMAKE_CROSSCOMPILING)
  return()
endif()

set(cartella_prova ${PROJECT_SOURCE_DIR}/editors/vscode/test)
include(${PROJECT_SOURCE_DIR}/cmake/node.cmake)
scenario_trova_node()
if(NOT SCENARIO_NODE OR NOT SCENARIO_NPM)
  message(STATUS "Grammar test left out: it needs node and npm (Debian: apt-get install nodejs npm)")
  return()
endif()

set(moduli ${CMAKE_BINARY_DIR}/grammatiche)
scenario_npm_ci(${cartella_prova} ${moduli} perche)
if(perche)
  message(STATUS "Grammar test left out: ${perche}")
  return()
endif()

add_test(NAME Grammatiche.EveryFieldOfTheTextsGetsItsScope
         COMMAND ${SCENARIO_NODE} ${cartella_prova}/grammatiche.test.js
                 --golden ${SCENARIO_GOLDEN_DIR} --scenario $<TARGET_FILE:scenario>)
set_tests_properties(Grammatiche.EveryFieldOfTheTextsGetsItsScope PROPERTIES
                     ENVIRONMENT NODE_PATH=${moduli}/node_modules)
