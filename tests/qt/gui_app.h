#pragma once

#include <QGuiApplication>

namespace vs::test {

// Text on a QImage needs the application's font database. One application
// serves the whole run and is never destroyed: tearing it down among the
// static destructors at exit crashes.
inline void ensureGuiApplication() {
  static int argc = 1;
  static char name[] = "widgets_test";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QGuiApplication(argc, argv);
}

}  // namespace vs::test
