# What a package holds, and CPack's settings for the three packages: a Linux
# .tar.gz and .deb from the native build, and a Windows ZIP from a MinGW-w64
# build of the same sources made inside the native build tree
# (SCENARIO_PACKAGE_WINDOWS, on in the package preset). Test programs are
# never installed: only the two programs below are.

include(GNUInstallDirs)

set(SCENARIO_NOME_PACCHETTO scenario-builder)

if(WIN32)
  # One folder: the builder writes its files beside its own executable, and
  # the README's links to doc/ and editors/ hold as they are.
  set(destinazione_programmi .)
  set(destinazione_documenti .)
  set(destinazione_editor editors)
else()
  set(destinazione_programmi ${CMAKE_INSTALL_BINDIR})
  set(destinazione_documenti ${CMAKE_INSTALL_DATAROOTDIR}/doc/${SCENARIO_NOME_PACCHETTO})
  set(destinazione_editor ${CMAKE_INSTALL_DATAROOTDIR}/${SCENARIO_NOME_PACCHETTO}/editors)
endif()

# The editor extension carries the project's version too.
file(READ ${PROJECT_SOURCE_DIR}/editors/vscode/package.json estensione)
string(JSON versione_estensione GET "${estensione}" version)
if(NOT versione_estensione STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "editors/vscode/package.json gives version ${versione_estensione}, the project "
                      "${PROJECT_VERSION}: give the extension the project's version")
endif()

install(TARGETS scenario_builder scenario RUNTIME DESTINATION ${destinazione_programmi})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${destinazione_documenti})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/doc/ DESTINATION ${destinazione_documenti}/doc)
# The editor files, without the grammar test and what npm put beside it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/editors/ DESTINATION ${destinazione_editor}
        PATTERN test EXCLUDE
        PATTERN node_modules EXCLUDE)

if(NOT WIN32)
  # The man page carries the project's version on its title line.
  file(READ ${PROJECT_SOURCE_DIR}/doc/scenario.1 pagina)
  string(REGEX REPLACE "\"scenario [0-9.]+\"" "\"scenario ${PROJECT_VERSION}\"" pagina "${pagina}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/man/scenario.1 "${pagina}")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/scenario.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# Every package of a build tree lands in one folder; the Windows build made
# inside the native one puts its ZIP beside the Linux packages.
set(SCENARIO_CARTELLA_PACCHETTI ${CMAKE_BINARY_DIR}/packages CACHE PATH "Where CPack writes the packages")

set(CPACK_PACKAGE_NAME ${SCENARIO_NOME_PACCHETTO})
set(CPACK_PACKAGE_VENDOR "Scenario builder developers")
set(CPACK_PACKAGE_CONTACT "Scenario builder developers <scenario-builder@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Scenario builder and authors' tool for a train-driving simulator")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${SCENARIO_CARTELLA_PACCHETTI})
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR "TGZ;DEB")
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" CPACK_SYSTEM_NAME)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Writes and compiles the built-in scenario of a train-driving simulator
(scenario_builder), and lets authors compile, inspect and draw their own
line and train texts (scenario).")
  # The libraries the programs link, as dpkg-shlibdeps finds them; without it
  # the C and C++ run-time libraries are named by hand.
  find_program(SCENARIO_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(SCENARIO_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  endif()
endif()

include(CPack)

# The Windows programs for the ZIP: the windows preset's cross build, without
# tests, in windows/ of this tree. The package preset "package-windows" runs
# CPack on its configuration.
option(SCENARIO_PACKAGE_WINDOWS "Also cross-build the Windows programs for the ZIP package" OFF)
if(SCENARIO_PACKAGE_WINDOWS AND NOT CMAKE_CROSSCOMPILING)
  if(SCENARIO_INSTALLA_PACCHETTI)
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/installa-pacchetti package)
  endif()
  find_program(SCENARIO_MINGW_CXX x86_64-w64-mingw32-g++-posix)
  if(NOT SCENARIO_MINGW_CXX)
    message(FATAL_ERROR "The Windows package needs MinGW-w64. Install it with:\n"
                        "  sudo apt-get install g++-mingw-w64-x86-64-posix\n"
                        "or configure with -DSCENARIO_PACKAGE_WINDOWS=OFF for the Linux packages alone.")
  endif()
  include(ExternalProject)
  ExternalProject_Add(programmi_windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows
    PREFIX ${CMAKE_BINARY_DIR}/windows-passi
    CONFIGURE_COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${CMAKE_BINARY_DIR}/windows --preset windows
                      -DSCENARIO_TESTS=OFF -DSCENARIO_PACKAGE_WINDOWS=OFF
                      -DSCENARIO_CARTELLA_PACCHETTI=${SCENARIO_CARTELLA_PACCHETTI}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_CONFIGURE ON
    USES_TERMINAL_BUILD ON)
endif()

# The VS Code extension with its language client, as a .vsix beside the
# other packages (SCENARIO_PACKAGE_VSIX, on in the package preset). npm
# fetches the packages pinned in editors/vscode/package-lock.json when it is
# built; cmake/estensione_vsix.cmake says what it does.
option(SCENARIO_PACKAGE_VSIX "Also build the VS Code extension (.vsix) beside the packages (needs node and npm)" OFF)
if(SCENARIO_PACKAGE_VSIX AND NOT CMAKE_CROSSCOMPILING)
  include(${PROJECT_SOURCE_DIR}/cmake/node.cmake)
  scenario_trova_node()
  if(NOT SCENARIO_NODE OR NOT SCENARIO_NPM)
    message(FATAL_ERROR "The VS Code extension (.vsix) needs node and npm, which are not on the PATH. "
                        "Install them with:\n  sudo apt-get install nodejs npm\n"
                        "or configure with -DSCENARIO_PACKAGE_VSIX=OFF for the other packages alone.")
  endif()
  # The packing tool (@vscode/vsce) runs on Node.js 20 or later.
  execute_process(COMMAND ${SCENARIO_NODE} --version OUTPUT_VARIABLE versione_node OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX REPLACE "^v([0-9]+).*" "\\1" versione_node_principale "${versione_node}")
  if(NOT versione_node_principale MATCHES "^[0-9]+$" OR versione_node_principale LESS 20)
    message(FATAL_ERROR "The VS Code extension (.vsix) is packed with @vscode/vsce, which needs Node.js 20 or "
                        "later; ${SCENARIO_NODE} is ${versione_node}. Put a newer node first on the PATH, or "
                        "configure with -DSCENARIO_PACKAGE_VSIX=OFF for the other packages alone.")
  endif()
  file(READ ${PROJECT_SOURCE_DIR}/editors/vscode/package.json estensione)
  string(JSON nome_estensione GET "${estensione}" name)
  set(SCENARIO_VSIX ${SCENARIO_CARTELLA_PACCHETTI}/${nome_estensione}-${PROJECT_VERSION}.vsix)
  file(GLOB_RECURSE file_estensione CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/editors/vscode/*)
  list(FILTER file_estensione EXCLUDE REGEX "/node_modules/")
  add_custom_command(OUTPUT ${SCENARIO_VSIX}
    COMMAND ${CMAKE_COMMAND} -DNODE=${SCENARIO_NODE} -DNPM=${SCENARIO_NPM}
            -DSORGENTE=${PROJECT_SOURCE_DIR}/editors/vscode -DCARTELLA=${CMAKE_BINARY_DIR}/vsix/estensione
            -DVSIX=${SCENARIO_VSIX} -P ${PROJECT_SOURCE_DIR}/cmake/estensione_vsix.cmake
    DEPENDS ${file_estensione} ${PROJECT_SOURCE_DIR}/cmake/estensione_vsix.cmake
    COMMENT "Packing the VS Code extension into ${SCENARIO_VSIX}"
    VERBATIM USES_TERMINAL)
  add_custom_target(estensione_vsix ALL DEPENDS ${SCENARIO_VSIX})
endif()
