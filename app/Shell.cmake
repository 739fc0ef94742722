# Included by the top level once the text views and the message list exist.
# The application shell: frames, the trace view, the settings dialogs and help.
add_library(vexa_app STATIC
  ${PROJECT_SOURCE_DIR}/app/CAboutDialog.cpp
  ${PROJECT_SOURCE_DIR}/app/CChildFrame.cpp
  ${PROJECT_SOURCE_DIR}/app/CClrDialog.cpp
  ${PROJECT_SOURCE_DIR}/app/CColourSettingsDialog.cpp
  ${PROJECT_SOURCE_DIR}/app/CDocumentViews.cpp
  ${PROJECT_SOURCE_DIR}/app/CHelpWindow.cpp
  ${PROJECT_SOURCE_DIR}/app/CMainFrame.cpp
  ${PROJECT_SOURCE_DIR}/app/CRegistryAccess.cpp
  ${PROJECT_SOURCE_DIR}/app/CSignalNamesDialog.cpp
  ${PROJECT_SOURCE_DIR}/app/CVexaClientApp.cpp
  ${PROJECT_SOURCE_DIR}/app/CVexaClientView.cpp
  ${PROJECT_SOURCE_DIR}/app/CallFlowCommands.cpp
  ${PROJECT_SOURCE_DIR}/resources/app.qrc
)
target_include_directories(vexa_app PUBLIC ${PROJECT_SOURCE_DIR}/app)
set_target_properties(vexa_app PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(vexa_app PUBLIC vexa_qtbase vexa_textview vexa_list vexa_callflow_ui)
target_compile_definitions(vexa_app PRIVATE VEXA_VERSION="${PROJECT_VERSION}")

add_executable(vexa ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(vexa PRIVATE vexa_app)
# The help file is installed beside the program, its pictures in the folder help beside
# it; they are copied there at every build of the program, so that it shows the current ones.
add_custom_target(vexa_help
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:vexa>/help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/resources/vexa.hlp $<TARGET_FILE_DIR:vexa>/vexa.hlp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/resources/help $<TARGET_FILE_DIR:vexa>/help)
add_dependencies(vexa vexa_help)

