# Configures and builds the core library in the Release configuration, warnings as errors.
# Optimisation brings warnings (-Wrestrict, -Wmaybe-uninitialized, ...) that the daily
# RelWithDebInfo build may not show; packagers build Release.
# Run as: cmake -DSOURCE=... -DBINARY=... -DCOMPILER=... [-DLAUNCHER=...] -P this-file
foreach(var SOURCE BINARY COMPILER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
set(args -S ${SOURCE} -B ${BINARY} -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_CORE_ONLY=ON -DQM_BUILD_TESTS=OFF
  -DCMAKE_CXX_COMPILER=${COMPILER})
if(LAUNCHER)
  list(APPEND args -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} ${args} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the Release core failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target qm830k_core
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the Release core does not compile")
endif()
