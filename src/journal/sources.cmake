list(APPEND VS_CORE_SOURCES
  journal/change_journal.cpp
  journal/csv_text.cpp
  journal/journal_line.cpp
  journal/journal_reader.cpp
  journal/journaling_master.cpp
  journal/settings_backup.cpp
)
