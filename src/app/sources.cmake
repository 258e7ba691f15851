list(APPEND VS_QT_SOURCES
  app/form_dialog.cpp
  app/form_views.cpp
  app/qt_prompts.cpp
)
