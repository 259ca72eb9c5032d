# The Wayland protocols the Wayland back-end speaks, generated at build
# time with wayland-scanner: client headers and the interface tables. The
# core protocol is generated too, so that nothing of libwayland-client is
# linked: the library is loaded at run time, and its few entry points the
# generated requests call go through the loaded table (see
# display/wayland/wl_protocols.h).
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_SCANNER REQUIRED wayland-scanner)
pkg_check_modules(WAYLAND_CLIENT REQUIRED wayland-client)
pkg_check_modules(WAYLAND_PROTOCOLS REQUIRED wayland-protocols>=1.31)
pkg_check_modules(XKBCOMMON_HEADERS REQUIRED xkbcommon)
pkg_check_modules(LIBDECOR_HEADERS REQUIRED libdecor-0)
pkg_get_variable(WAYLAND_SCANNER_PROGRAM wayland-scanner wayland_scanner)
pkg_get_variable(WAYLAND_CORE_DIR wayland-client pkgdatadir)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)

# wt_wayland_protocols(target): the generated sources join `target`, the
# headers' folder is on its include path (and its users').
function(wt_wayland_protocols target)
  set(_out ${CMAKE_BINARY_DIR}/wayland-protocols)
  file(MAKE_DIRECTORY ${_out})
  set(_xml
      ${WAYLAND_CORE_DIR}/wayland.xml
      ${WAYLAND_PROTOCOLS_DIR}/stable/xdg-shell/xdg-shell.xml
      ${WAYLAND_PROTOCOLS_DIR}/stable/viewporter/viewporter.xml
      ${WAYLAND_PROTOCOLS_DIR}/staging/fractional-scale/fractional-scale-v1.xml
      ${WAYLAND_PROTOCOLS_DIR}/unstable/xdg-decoration/xdg-decoration-unstable-v1.xml
      ${WAYLAND_PROTOCOLS_DIR}/unstable/idle-inhibit/idle-inhibit-unstable-v1.xml)
  set(_sources)
  set(_headers)
  foreach(_file IN LISTS _xml)
    get_filename_component(_name ${_file} NAME_WE)
    if(_name STREQUAL "wayland")
      set(_name wayland-core)
    endif()
    add_custom_command(
      OUTPUT ${_out}/${_name}-client.h ${_out}/${_name}-protocol.c
      COMMAND ${WAYLAND_SCANNER_PROGRAM} --strict --include-core-only client-header ${_file} ${_out}/${_name}-client.h
      COMMAND ${WAYLAND_SCANNER_PROGRAM} --strict private-code ${_file} ${_out}/${_name}-protocol.c
      DEPENDS ${_file}
      COMMENT "Generating the ${_name} protocol code"
      VERBATIM)
    list(APPEND _sources ${_out}/${_name}-protocol.c)
    list(APPEND _headers ${_out}/${_name}-client.h)
  endforeach()
  # The headers are made before any of the target's files is compiled.
  add_custom_target(${target}_wayland_headers DEPENDS ${_headers})
  add_dependencies(${target} ${target}_wayland_headers)
  target_sources(${target} PRIVATE ${_sources})
  # Public: the back-end's headers name the protocols' types, and its tests
  # and benchmarks include them.
  target_include_directories(${target} PUBLIC ${_out} ${WAYLAND_CLIENT_INCLUDE_DIRS} ${XKBCOMMON_HEADERS_INCLUDE_DIRS}
                                              ${LIBDECOR_HEADERS_INCLUDE_DIRS})
endfunction()
