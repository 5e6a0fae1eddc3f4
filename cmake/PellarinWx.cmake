# wxWidgets for the window program, its resources and its tests: the pellarin_wx target, the
# resource compiler wxrc, and on GTK the GTK and X libraries that the window drives directly.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS xrc xml core base)

# wxWidgets as a target; its headers are system headers, so our warnings stay about our code.
add_library(pellarin_wx INTERFACE)
target_include_directories(pellarin_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(pellarin_wx INTERFACE ${wxWidgets_DEFINITIONS}
                           $<$<CONFIG:Debug>:${wxWidgets_DEFINITIONS_DEBUG}>)
target_compile_options(pellarin_wx INTERFACE ${wxWidgets_CXX_FLAGS})
target_link_libraries(pellarin_wx INTERFACE ${wxWidgets_LIBRARIES})
if(MSVC)
  # The sources spell their Japanese texts in UTF-8.
  target_compile_options(pellarin_wx INTERFACE /utf-8)
endif()

# The GTK build drives some of GTK's controls through GTK itself (ui/gtk_controls.cpp) and asks
# X for the pending mouse presses (ui/platform_services.cpp); the window tests look at them too.
if("__WXGTK__" IN_LIST wxWidgets_DEFINITIONS)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0 x11)
  target_link_libraries(pellarin_wx INTERFACE PkgConfig::GTK3)
endif()

if(NOT wxWidgets_wxrc_EXECUTABLE)
  find_program(wxWidgets_wxrc_EXECUTABLE NAMES wxrc wxrc-3.2 REQUIRED)
endif()
