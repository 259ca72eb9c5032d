# The floors of the house: one static library per floor, made from the
# .cpp files of its folders, linked to exactly the floors it may use. A
# call that runs against these arrows fails to link (see the link checks
# in tests/), and tools/layer_check reads the same table to refuse an
# include against them.
#
#   wt_floor(<name> DIRS <folder>... [USES <floor>...] [EXCLUDE <file>...])
#
# A folder or floor may carry a platform prefix, posix: or windows:; it
# then counts only on that platform, and the folder is a platform part of
# its floor: it may use the floor's shared folders, never the other way
# round. The layer check reads every platform's folders.

if(WIN32)
  set(WT_PLATFORM windows)
else()
  set(WT_PLATFORM posix)
endif()

set_property(GLOBAL PROPERTY WT_FLOOR_TABLE "")
set_property(GLOBAL PROPERTY WT_FLOORS "")

# Drops the items of another platform from a prefixed list and strips the
# prefix from the rest.
function(wt_platform_items out)
  set(_items "")
  foreach(_item IN LISTS ARGN)
    if(_item MATCHES "^(posix|windows):(.*)$")
      if(CMAKE_MATCH_1 STREQUAL WT_PLATFORM)
        list(APPEND _items ${CMAKE_MATCH_2})
      endif()
    else()
      list(APPEND _items ${_item})
    endif()
  endforeach()
  set(${out} ${_items} PARENT_SCOPE)
endfunction()

function(wt_floor name)
  cmake_parse_arguments(PARSE_ARGV 1 _floor "" "" "DIRS;USES;EXCLUDE")
  # The table for the layer check: every platform's folders and arrows.
  string(REPLACE ";" " " _dirs_text "${_floor_DIRS}")
  string(REPLACE ";" " " _uses_text "${_floor_USES}")
  set_property(GLOBAL APPEND_STRING PROPERTY WT_FLOOR_TABLE "${name} | ${_dirs_text} | ${_uses_text}\n")

  wt_platform_items(_dirs ${_floor_DIRS})
  wt_platform_items(_uses ${_floor_USES})
  set(_sources "")
  foreach(_dir IN LISTS _dirs)
    file(GLOB _dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${_dir}/*.cpp)
    list(APPEND _sources ${_dir_sources})
  endforeach()
  foreach(_file IN LISTS _floor_EXCLUDE)
    list(REMOVE_ITEM _sources ${CMAKE_SOURCE_DIR}/${_file})
  endforeach()
  if(NOT _sources)
    return()  # a floor of the other platform
  endif()
  add_library(wt_${name} STATIC ${_sources})
  set_property(GLOBAL PROPERTY WT_FLOOR_DIRS_${name} ${_dirs})
  target_include_directories(wt_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  foreach(_use IN LISTS _uses)
    target_link_libraries(wt_${name} PUBLIC wt_${_use})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY WT_FLOORS ${name})
endfunction()

# Writes the table for tools/layer_check.
function(wt_write_floor_table path)
  get_property(_table GLOBAL PROPERTY WT_FLOOR_TABLE)
  file(WRITE ${path} "# floor | folders | floors it may use\n${_table}")
endfunction()

# Links libraries whole. For those whose objects register themselves
# before main (the console driver, the display's driver list): nothing
# calls into them, so the linker would otherwise leave them out.
function(wt_link_whole target)
  foreach(_library IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${_library}>")
  endforeach()
endfunction()
