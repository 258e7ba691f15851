list(APPEND VS_QT_SOURCES
  app/form_dialog.cpp
  app/form_views.cpp
  app/qt_prompts.cpp
)
list(APPEND VS_CORE_SOURCES
  app/comm_config.cpp
  app/data_paths.cpp
  app/mode_labels.cpp
)
