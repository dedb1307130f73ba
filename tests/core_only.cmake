# The core's GoogleTest programs without Qt: the Windows cross build, run under Wine by
# scripts/test-windows. GoogleTest is built from its sources (Debian's googletest package).
if(NOT QM_BUILD_TESTS)
  return()
endif()

set(QM_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QM_GTEST_SOURCE} googletest EXCLUDE_FROM_ALL)

# Under Wine a path that starts with "/" lies on the current drive; the whole file system
# is drive Z:.
set(QM_HOST_PREFIX "")
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(QM_HOST_PREFIX "Z:")
endif()

configure_file(${CMAKE_SOURCE_DIR}/data/nrvPC.ini ${CMAKE_BINARY_DIR}/nrvPC.ini COPYONLY)

# Test files that need Qt or a POSIX system are left out.
set(QM_QT_ONLY_TESTS document/document_test.cpp)
set(dir ${CMAKE_SOURCE_DIR}/tests)
foreach(area app model files document radio tune print sim)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/${area}/*.cpp)
  foreach(excluded ${QM_QT_ONLY_TESTS})
    list(REMOVE_ITEM sources ${dir}/${excluded})
  endforeach()
  if(NOT sources)
    continue()
  endif()
  add_executable(test_${area} ${sources} ${dir}/support/test_main.cpp)
  target_include_directories(test_${area} PRIVATE ${dir})
  target_link_libraries(test_${area} PRIVATE qm830k_core gtest gmock)
  target_compile_options(test_${area} PRIVATE ${QM_WARNINGS})
  target_compile_definitions(test_${area} PRIVATE
    QM_TEST_DATA="${QM_HOST_PREFIX}${dir}/data"
    QM_BINARY_DIR="${QM_HOST_PREFIX}${CMAKE_BINARY_DIR}")
endforeach()
