# Build conventions shared by every subsystem folder.
#
# marvoda_core(<name> DIR <dir> [LINK ...]) builds <name>_core from the sources directly in
# <dir>: Qt Core and Sql only, so business rules can never reach for a widget.
# marvoda_ui(<name> DIR <dir> [LINK ...]) builds <name>_ui from <dir>/ui (and any extra DIRS)
# on top of <name>_core with Widgets and PrintSupport.

set(MARVODA_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Werror)

function(marvoda_sources out)
  set(files)
  foreach(d IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${d}/*.cpp ${d}/*.h ${d}/*.qrc)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# moc does not notice a source added to a globbed target (its step only depends on the files it
# saw last time); when a target's file list changes, drop its autogen stamp so the step reruns.
function(marvoda_autogen_on_new_files target files)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}.sources)
  set(old "")
  if(EXISTS ${list_file})
    file(READ ${list_file} old)
  endif()
  if(NOT old STREQUAL "${files}")
    file(WRITE ${list_file} "${files}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
  endif()
endfunction()

function(marvoda_core name)
  cmake_parse_arguments(A "" "" "DIRS;LINK" ${ARGN})
  marvoda_sources(files ${A_DIRS})
  if(NOT files)
    return()   # a subsystem whose first file has not been written yet
  endif()
  add_library(${name}_core STATIC ${files})
  marvoda_autogen_on_new_files(${name}_core "${files}")
  target_compile_options(${name}_core PRIVATE ${MARVODA_WARNINGS})
  target_include_directories(${name}_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name}_core PUBLIC Qt6::Core Qt6::Sql ${A_LINK})
endfunction()

function(marvoda_ui name)
  cmake_parse_arguments(A "" "" "DIRS;LINK" ${ARGN})
  marvoda_sources(files ${A_DIRS})
  if(NOT files OR NOT TARGET ${name}_core)
    return()
  endif()
  add_library(${name}_ui STATIC ${files})
  marvoda_autogen_on_new_files(${name}_ui "${files}")
  target_compile_options(${name}_ui PRIVATE ${MARVODA_WARNINGS})
  target_include_directories(${name}_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name}_ui PUBLIC ${name}_core Qt6::Widgets Qt6::PrintSupport ${A_LINK})
endfunction()

# marvoda_test_area(<area> DIR <dir> LINK ... [ENV ...] [PG]) builds one test binary per area
# from every tst_*.cpp in <dir>; each file registers its test class with MARVODA_TEST.
# PG: the binary runs a second time against the throwaway PostgreSQL server, in a database of
# its own so areas can run at the same time.
function(marvoda_test_area area)
  cmake_parse_arguments(A "PG" "DIR" "LINK;ENV" ${ARGN})
  file(GLOB files CONFIGURE_DEPENDS ${A_DIR}/*.cpp ${A_DIR}/*.h)
  if(NOT files)
    return()
  endif()
  foreach(lib IN LISTS A_LINK)
    if(NOT TARGET ${lib})
      return()
    endif()
  endforeach()
  add_executable(tst_${area} ${files})
  marvoda_autogen_on_new_files(tst_${area} "${files}")
  target_compile_options(tst_${area} PRIVATE ${MARVODA_WARNINGS})
  target_link_libraries(tst_${area} PRIVATE ${A_LINK} Qt6::Test)
  add_test(NAME ${area} COMMAND tst_${area})
  set_tests_properties(${area} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_DISABLE_STACK_DUMP=1;LANG=zh_CN.UTF-8;MARVODA_SOURCE_DIR=${PROJECT_SOURCE_DIR};${A_ENV}")
  if(A_PG AND MARVODA_PG_TESTS)
    add_test(NAME ${area}_postgres COMMAND tst_${area})
    set_tests_properties(${area}_postgres PROPERTIES FIXTURES_REQUIRED PG
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_DISABLE_STACK_DUMP=1;MARVODA_SOURCE_DIR=${PROJECT_SOURCE_DIR};MARVODA_TEST_PG=host=127.0.0.1 port=${MARVODA_PG_PORT} user=postgres dbname=t_${area};${A_ENV}")
  endif()
endfunction()
