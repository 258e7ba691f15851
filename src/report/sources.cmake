list(APPEND VS_CORE_SOURCES
  report/traveler_page.cpp
  report/traveler_report_form.cpp
)
