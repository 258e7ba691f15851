#include <gtest/gtest.h>

#include "dialogs/password_gate_form.h"
#include "dialogs/settings_commands.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

const std::string kContact = "\n\nTelephone: +1 555 0142 3300\nFax: +1 555 0142 3301";

struct Gate : ::testing::Test {
  ValveLink link;
  PasswordGateForm form{link};
  test::ScriptedFormHost host{form};

  void enter(const std::string& password) {
    form.setPassword(password);
    form.ok();
  }
};

TEST_F(Gate, EitherServicePasswordOpensAfterTheAssistanceNote) {
  for (const char* password : {"7391", "2604", "07391", "0002604", " 2604 "}) {
    ValveLink fresh;
    PasswordGateForm gate(fresh);
    test::ScriptedFormHost boxes(gate);
    gate.setPassword(password);
    gate.ok();
    EXPECT_TRUE(gate.isEnded()) << password;
    EXPECT_EQ(gate.result(), 1);
    EXPECT_FALSE(fresh.settingsLocked);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "For assistance regarding valve settings  \nplease contact \n\nEngineering "
              "Department \nNorvane" +
                  kContact);
    EXPECT_EQ(boxes.boxes[0].caption, "Assistance");
    EXPECT_EQ(boxes.boxes[0].icon, Icon::Information);
  }
}

TEST_F(Gate, AnyOtherEntryWarnsClearsTheEditAndKeepsAsking) {
  // 4294974687 is a password plus 2^32: it must not wrap round to one.
  for (const char* wrong : {"1234", "", "73910", "739", "4294974687", "7391x"}) {
    enter(wrong);
    EXPECT_FALSE(form.isEnded()) << wrong;
    EXPECT_EQ(form.password(), "");
    EXPECT_TRUE(link.settingsLocked);
  }
  ASSERT_EQ(host.boxes.size(), 6u);
  EXPECT_EQ(host.boxes[0].text,
            "The password is incorrect!  \nPlease contact \n\nEngineering Department \nNorvane" +
                kContact);
  EXPECT_EQ(host.boxes[0].caption, "Warning");
  EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);
  enter("2604");
  EXPECT_EQ(form.result(), 1);
}

TEST_F(Gate, CancelAndTheCloseBoxLock) {
  link.settingsLocked = false;
  form.cancel();
  EXPECT_EQ(form.result(), 2);
  EXPECT_TRUE(link.settingsLocked);

  ValveLink other;
  other.settingsLocked = false;
  PasswordGateForm closed(other);
  closed.onClose();
  EXPECT_EQ(closed.result(), 2);
  EXPECT_TRUE(other.settingsLocked);
  EXPECT_TRUE(host.boxes.empty());
}

TEST(PasswordGate, PassesOnlyWhenThisRunAcceptedAPassword) {
  test::ControllerBench bench;
  bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
    auto& gate = dynamic_cast<PasswordGateForm&>(form);
    gate.setPassword("7391");
    gate.ok();
  });
  EXPECT_TRUE(passwordGate(bench.ctx));
  ASSERT_EQ(bench.desktop.formsRun, std::vector<int>{112});

  // Without a script the dialog is closed with its close box.
  bench.desktop.formScripts.clear();
  EXPECT_FALSE(passwordGate(bench.ctx));

  // An earlier acceptance does not carry over to a dialog that cannot be created.
  bench.desktop.onForm(112, [](Form& form, test::ScriptedFormHost&) {
    auto& gate = dynamic_cast<PasswordGateForm&>(form);
    gate.setPassword("2604");
    gate.ok();
  });
  EXPECT_TRUE(passwordGate(bench.ctx));
  bench.desktop.failingForms.insert(112);
  EXPECT_FALSE(passwordGate(bench.ctx));
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Error creating password dialog");
  EXPECT_EQ(bench.desktop.boxes[0].caption, "");
  EXPECT_TRUE(bench.master.requests.empty());
}

}  // namespace
}  // namespace vs
