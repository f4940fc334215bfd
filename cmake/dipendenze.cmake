# The libraries the tool and the tests take from Debian's packages. The
# configure step installs the missing packages (scripts/installa-pacchetti,
# the list in scripts/pacchetti.txt) unless SCENARIO_INSTALLA_PACCHETTI is off,
# as packagers want.
option(SCENARIO_INSTALLA_PACCHETTI "Install missing Debian packages when configuring" ON)

if(SCENARIO_INSTALLA_PACCHETTI)
  set(gruppi build)
  if(SCENARIO_TESTS)
    list(APPEND gruppi test)
  endif()
  if(SCENARIO_BENCH)
    list(APPEND gruppi bench)
  endif()
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/installa-pacchetti ${gruppi}
                  RESULT_VARIABLE esito_pacchetti)
  if(NOT esito_pacchetti EQUAL 0)
    message(FATAL_ERROR "Debian packages are missing (the command to install them is above). "
                        "Configure with -DSCENARIO_INSTALLA_PACCHETTI=OFF to skip this step.")
  endif()
endif()

# CLI11, nlohmann-json and Boost (Beast and Asio, for the preview's server) are
# header-only. The headers are taken from the
# system's include folder through a folder of links holding only them, so that
# the MinGW cross build finds them too without seeing the rest of /usr/include.
set(SCENARIO_INTESTAZIONI_DEBIAN ${CMAKE_BINARY_DIR}/intestazioni_debian)
file(MAKE_DIRECTORY ${SCENARIO_INTESTAZIONI_DEBIAN})
foreach(coppia "CLI;CLI/CLI.hpp;libcli11-dev" "nlohmann;nlohmann/json.hpp;nlohmann-json3-dev"
               "boost;boost/beast.hpp;libboost-dev")
  list(GET coppia 0 cartella)
  list(GET coppia 1 intestazione)
  list(GET coppia 2 pacchetto)
  if(NOT EXISTS /usr/include/${intestazione})
    message(FATAL_ERROR "/usr/include/${intestazione} is missing: install the Debian package ${pacchetto} "
                        "(apt-get install ${pacchetto})")
  endif()
  if(NOT EXISTS ${SCENARIO_INTESTAZIONI_DEBIAN}/${cartella})
    file(CREATE_LINK /usr/include/${cartella} ${SCENARIO_INTESTAZIONI_DEBIAN}/${cartella} SYMBOLIC)
  endif()
endforeach()
add_library(scenario_intestazioni_debian INTERFACE)
target_include_directories(scenario_intestazioni_debian SYSTEM INTERFACE ${SCENARIO_INTESTAZIONI_DEBIAN})

# tinyxml2 is a compiled library, shipped for the native system only: the
# tests that read SVG with it run natively and are left out of cross builds.
set(SCENARIO_TINYXML2 OFF)
if(SCENARIO_TESTS AND NOT CMAKE_CROSSCOMPILING)
  find_library(SCENARIO_TINYXML2_LIB tinyxml2)
  find_path(SCENARIO_TINYXML2_INCLUDE tinyxml2.h)
  if(SCENARIO_TINYXML2_LIB AND SCENARIO_TINYXML2_INCLUDE)
    set(SCENARIO_TINYXML2 ON)
  else()
    message(FATAL_ERROR "tinyxml2 is missing: install the Debian package libtinyxml2-dev")
  endif()
endif()
