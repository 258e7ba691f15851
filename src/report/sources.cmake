list(APPEND VS_CORE_SOURCES
  report/page_fit.cpp
  report/traveler_page.cpp
  report/traveler_report_form.cpp
)
