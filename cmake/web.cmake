# The browser's build (emscripten; scripts/build-web): the core as it is, the page's binding
# (src/web) linked with it into one module, and the English translations as JSON. The page
# itself (web/) is bundled by scripts/build-web.
set(QM_SITE_DIR ${CMAKE_BINARY_DIR}/site)
file(MAKE_DIRECTORY ${QM_SITE_DIR})

file(GLOB QM_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/*.cpp)
add_executable(qm830k_web ${QM_WEB_SOURCES})
target_link_libraries(qm830k_web PRIVATE qm830k_core)
target_compile_options(qm830k_web PRIVATE ${QM_WARNINGS})
target_include_directories(qm830k_web SYSTEM PRIVATE ${QM_HEADER_ONLY_DIR})
set_target_properties(qm830k_web PROPERTIES OUTPUT_NAME qm830k SUFFIX ".js"
  RUNTIME_OUTPUT_DIRECTORY ${QM_SITE_DIR})
# Asyncify lets the core's linear routines wait on the browser's promises (web/src/host.ts);
# its stack holds the routine's frames while it waits. The maker file of an installation is
# packed into the module's file system.
target_link_options(qm830k_web PRIVATE
  -lembind -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=262144 -sALLOW_MEMORY_GROWTH=1
  -sMODULARIZE=1 -sEXPORT_NAME=createQm -sENVIRONMENT=web
  "-sEXPORTED_RUNTIME_METHODS=['ccall','FS']"
  --embed-file ${CMAKE_SOURCE_DIR}/data/nrvPC.ini@/app/nrvPC.ini)
set_property(TARGET qm830k_web APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/data/nrvPC.ini)

find_program(QM_PYTHON python3 REQUIRED)
add_custom_command(OUTPUT ${QM_SITE_DIR}/qm830k_en.json
  COMMAND ${QM_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/ts-to-json
          ${CMAKE_SOURCE_DIR}/translations/qm830k_en.ts ${QM_SITE_DIR}/qm830k_en.json
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/ts-to-json ${CMAKE_SOURCE_DIR}/translations/qm830k_en.ts
  COMMENT "English translations for the page")
add_custom_target(qm830k_web_translations ALL DEPENDS ${QM_SITE_DIR}/qm830k_en.json)

# ---- the core's tests under node ----
# Every core folder's GoogleTest program, without the test files that need the desktop's
# platform layer or its build tree (the Qt codec, the help page). They run on the machine's
# own files (NODERAWFS) like the Linux tests.
if(QM_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  configure_file(${CMAKE_SOURCE_DIR}/data/nrvPC.ini ${CMAKE_BINARY_DIR}/nrvPC.ini COPYONLY)
  enable_testing()
  set(QM_WEB_TEST_SKIPPED document_test radio_commands_test model_table_test)
  foreach(_line ${_qm_folder_lines})
    if(NOT _line MATCHES "[ \t]core$")
      continue()
    endif()
    string(REGEX MATCH "^[a-z]+" area "${_line}")
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/*.cpp)
    foreach(skipped ${QM_WEB_TEST_SKIPPED})
      list(FILTER _sources EXCLUDE REGEX "/${skipped}\\.cpp$")
    endforeach()
    if(NOT _sources)
      continue()
    endif()
    add_executable(test_${area} ${_sources} ${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp)
    target_include_directories(test_${area} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(test_${area} PRIVATE qm830k_core GTest::gtest GTest::gmock)
    target_compile_options(test_${area} PRIVATE ${QM_WARNINGS})
    target_compile_definitions(test_${area} PRIVATE
      QM_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data" QM_BINARY_DIR="${CMAKE_BINARY_DIR}")
    target_link_options(test_${area} PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1
      -sENVIRONMENT=node -sEXIT_RUNTIME=1)
    # Node's file layer has no named pipes and no file size limit: the two tests that make a
    # save fail through them are the desktop's.
    set(_filter "")
    if(area STREQUAL "files")
      set(_filter "--gtest_filter=-DataFileLoadFrom.FilesThatDoNotCountAsThereOrCannotBeRead:AtomicSave.FailedWriteLeavesTheOldFile")
    endif()
    add_test(NAME web_${area} COMMAND node --no-experimental-fetch
      ${CMAKE_BINARY_DIR}/test_${area}.js ${_filter})
  endforeach()
endif()
