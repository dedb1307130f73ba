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
