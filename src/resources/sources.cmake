list(APPEND VS_QT_SOURCES
  resources/valvescope.qrc
)
