# Build-time tools (resource generator, DMI.DAT scrambler) run on the build
# machine. In a cross build they come from a nested native project; natively
# they are ordinary targets of this build.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_host_dir ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
    BINARY_DIR ${_host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_host_dir}/bin/resgen ${_host_dir}/bin/dathide)
  set(SYSLENS_RESGEN ${_host_dir}/bin/resgen)
  set(SYSLENS_DATHIDE ${_host_dir}/bin/dathide)
  set(SYSLENS_HOST_TOOLS host_tools)
else()
  add_subdirectory(tools)
  set(SYSLENS_RESGEN $<TARGET_FILE:resgen>)
  set(SYSLENS_DATHIDE $<TARGET_FILE:dathide>)
  set(SYSLENS_HOST_TOOLS resgen dathide)
endif()
