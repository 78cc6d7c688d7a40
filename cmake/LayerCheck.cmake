# The layers below the windows (ui/) use neither Qt Widgets nor Qt Gui, not even through a
# library they link: they run in kap-cli and in tests on a QCoreApplication.
#
#   kap_check_no_gui(TARGET...)
#
# walks each target's LINK_LIBRARIES and INTERFACE_LINK_LIBRARIES, and those of every target
# they name, and stops the configuration at the first Qt6::Widgets or Qt6::Gui it meets,
# naming the chain of links that leads there. Call it once every target exists (at the end of
# the top-level CMakeLists.txt).

# The first path from target to Qt Widgets or Qt Gui, as "a -> b -> Qt6::Gui"; empty if none.
function(kap_gui_link_path target out)
  set(queue ${target})
  set(seen ${target})
  set(found "")
  while(queue AND NOT found)
    list(POP_FRONT queue current)
    set(links "")
    get_target_property(imported ${current} IMPORTED)
    get_target_property(type ${current} TYPE)
    if(NOT imported AND NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link IN LISTS links)
      # $<LINK_ONLY:x> still links x; any other generator expression is left alone.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" link "${link}")
      if(link MATCHES "^\\$<" OR NOT TARGET "${link}")
        continue()
      endif()
      get_target_property(aliased ${link} ALIASED_TARGET)
      if(aliased)
        set(link ${aliased})
      endif()
      if(link IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${link})
      set("parent_${link}" ${current})
      if(link MATCHES "^Qt6?::(Widgets|Gui)$")
        set(found ${link})
        break()
      endif()
      list(APPEND queue ${link})
    endforeach()
  endwhile()
  set(path "")
  if(found)
    set(path ${found})
    set(step ${found})
    while(NOT step STREQUAL target)
      set(step ${parent_${step}})
      set(path "${step} -> ${path}")
    endwhile()
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

function(kap_check_no_gui)
  foreach(target IN LISTS ARGN)
    if(NOT TARGET ${target})
      message(FATAL_ERROR "Layer check: there is no target ${target}")
    endif()
    kap_gui_link_path(${target} path)
    if(path)
      string(REGEX MATCH "[^ ]+$" module "${path}")
      message(FATAL_ERROR
        "Layer check: ${target} links ${module} (${path}). Below ui/ (its libraries, kap-cli "
        "and the tests without WIDGETS) nothing uses Qt Widgets or Qt Gui; what needs them "
        "belongs to ui/.")
    endif()
  endforeach()
endfunction()
