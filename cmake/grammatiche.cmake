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
find_program(SCENARIO_NODE node)
find_program(SCENARIO_NPM npm)
if((NOT SCENARIO_NODE OR NOT SCENARIO_NPM) AND SCENARIO_INSTALLA_PACCHETTI)
  # Node.js from Debian, when no node is on the path.
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/installa-pacchetti grammar)
  unset(SCENARIO_NODE CACHE)
  unset(SCENARIO_NPM CACHE)
  find_program(SCENARIO_NODE node)
  find_program(SCENARIO_NPM npm)
endif()
if(NOT SCENARIO_NODE OR NOT SCENARIO_NPM)
  message(STATUS "Grammar test left out: it needs node and npm (Debian: apt-get install nodejs npm)")
  return()
endif()

set(moduli ${CMAKE_BINARY_DIR}/grammatiche)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${cartella_prova}/package-lock.json)
file(SHA256 ${cartella_prova}/package-lock.json impronta)
set(installato "")
if(EXISTS ${moduli}/installato)
  file(READ ${moduli}/installato installato)
endif()
if(NOT installato STREQUAL impronta)
  file(REMOVE ${moduli}/installato)
  file(COPY ${cartella_prova}/package.json ${cartella_prova}/package-lock.json DESTINATION ${moduli})
  message(STATUS "Grammar test: npm ci in ${moduli}")
  execute_process(COMMAND ${SCENARIO_NPM} ci --no-audit --no-fund --loglevel=error
                  WORKING_DIRECTORY ${moduli} RESULT_VARIABLE esito OUTPUT_QUIET ERROR_VARIABLE errori
                  TIMEOUT 600)
  if(NOT esito EQUAL 0)
    message(STATUS "Grammar test left out: npm ci failed (${esito}): ${errori}")
    return()
  endif()
  file(WRITE ${moduli}/installato ${impronta})
endif()

add_test(NAME Grammatiche.EveryFieldOfTheTextsGetsItsScope
         COMMAND ${SCENARIO_NODE} ${cartella_prova}/grammatiche.test.js
                 --golden ${SCENARIO_GOLDEN_DIR} --scenario $<TARGET_FILE:scenario>)
set_tests_properties(Grammatiche.EveryFieldOfTheTextsGetsItsScope PROPERTIES
                     ENVIRONMENT NODE_PATH=${moduli}/node_modules)
