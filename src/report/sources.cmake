list(APPEND VS_CORE_SOURCES
  report/traveler_page.cpp
  report/traveler_report_form.cpp
)
list(APPEND VS_QT_SOURCES
  report/qt_page_printer.cpp
  report/traveler_report_view.cpp
)
