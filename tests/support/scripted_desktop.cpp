#include "support/scripted_desktop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vs::test {
namespace {

using Clock = std::chrono::steady_clock;

int nextAnswer(std::deque<int>& answers, Buttons buttons) {
  if (answers.empty()) return buttons == Buttons::YesNo ? ANSWER_YES : ANSWER_OK;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> nextChoice(std::deque<std::optional<std::string>>& choices) {
  if (choices.empty()) return std::nullopt;
  auto choice = std::move(choices.front());
  choices.pop_front();
  return choice;
}

}  // namespace

int ScriptedFormHost::messageBox(const std::string& text, const std::string& caption, Icon icon,
                                 Buttons buttons) {
  boxes.push_back({text, caption, icon, buttons, false, {}});
  return nextAnswer(answers, buttons);
}

std::optional<std::string> ScriptedFormHost::chooseFile(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  return nextChoice(fileChoices);
}

bool ScriptedFormHost::tick(int id) {
  if (!timerRunning(id)) return false;
  form_.tick(id);
  deliverPosted();
  return true;
}

void ScriptedFormHost::deliverPosted() {
  while (!posted.empty()) {
    const auto [message, param] = posted.front();
    posted.pop_front();
    form_.deliver(message, param);
  }
}

void ScriptedDesktop::startTimer(int id, int milliseconds) {
  timers[id] = milliseconds;
  calls.push_back("startTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
}

void ScriptedDesktop::killTimer(int id) {
  timers.erase(id);
  calls.push_back("killTimer " + std::to_string(id));
}

void ScriptedDesktop::postCommand(int id) {
  posted.push_back(id);
  calls.push_back("post " + std::to_string(id));
}

int ScriptedDesktop::messageBox(const std::string& text, const std::string& caption, Icon icon,
                                Buttons buttons, bool ownedByMainWindow) {
  boxes.push_back({text, caption, icon, buttons, ownedByMainWindow, statusTexts[3]});
  calls.push_back("messageBox " + caption + "|" + text);
  if (pumpInModalLoops) runPosted();
  return nextAnswer(answers, buttons);
}

int ScriptedDesktop::runForm(Form& form) {
  const auto nestedBefore = nested_;
  const auto began = Clock::now();
  const int result = runScriptedForm(form);
  nested_ = nestedBefore + (Clock::now() - began);
  return result;
}

int ScriptedDesktop::runScriptedForm(Form& form) {
  calls.push_back("runForm " + std::to_string(form.templateId()));
  formsRun.push_back(form.templateId());
  if (failingForms.count(form.templateId()) != 0) return -1;
  ScriptedFormHost host(form);
  form.init();
  if (pumpInModalLoops) runPosted();
  if (const auto it = formScripts.find(form.templateId()); it != formScripts.end()) {
    it->second(form, host);
  }
  if (!form.isEnded()) form.closeBox();
  return form.result();
}

bool ScriptedDesktop::showForm(Form& form) {
  calls.push_back("showForm " + std::to_string(form.templateId()));
  if (failingForms.count(form.templateId()) != 0) return false;
  auto& host = besideForms[&form];
  const bool open = host != nullptr && !form.isEnded();
  if (host == nullptr) host = std::make_unique<ScriptedFormHost>(form);
  if (!open) {
    form.restart();
    form.init();
  }
  return true;
}

void ScriptedDesktop::invalidate(bool erase) {
  ++invalidations;
  calls.push_back(erase ? "invalidate erase" : "invalidate");
}

void ScriptedDesktop::setTitle(const std::string& text) {
  title = text;
  calls.push_back("setTitle " + text);
}

void ScriptedDesktop::setStatusText(int part, const std::string& text) { statusTexts[part] = text; }

std::optional<std::string> ScriptedDesktop::chooseFile(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  calls.push_back("chooseFile " + request.title);
  return nextChoice(fileChoices);
}

void ScriptedDesktop::postEvent(std::function<void()> event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
  }
  arrived_.notify_one();
}

void ScriptedDesktop::waitForLine(const std::function<bool()>& done) {
  const auto nestedBefore = nested_;
  const auto began = Clock::now();
  ++waits;
  calls.push_back("waitForLine");
  if (whileWaiting) whileWaiting();
  while (!done()) runEvent(true);
  nested_ = nestedBefore + (Clock::now() - began);
}

void ScriptedDesktop::timed(const std::function<void()>& handler) {
  const auto nestedBefore = nested_;
  const auto began = Clock::now();
  handler();
  const auto total = Clock::now() - began;
  longestHold = std::max(longestHold, total - (nested_ - nestedBefore));
  nested_ = nestedBefore + total;
}

void ScriptedDesktop::runPosted() {
  for (;;) {
    if (!posted.empty()) {
      const int id = posted.front();
      posted.pop_front();
      if (dispatch) timed([this, id] { dispatch(id); });
    } else if (!runEvent(lineBusy && lineBusy())) {
      return;
    }
  }
}

void ScriptedDesktop::runLineEvents() {
  while (runEvent(lineBusy && lineBusy())) {
  }
}

bool ScriptedDesktop::runEvent(bool block) {
  std::function<void()> event;
  {
    std::unique_lock lock(mutex_);
    // Generous: the line's answer comes within its time-outs and retries.
    if (block &&
        !arrived_.wait_for(lock, std::chrono::minutes(1), [this] { return !events_.empty(); })) {
      std::fputs("ScriptedDesktop: the line's answer never came\n", stderr);
      std::abort();
    }
    if (events_.empty()) return false;
    event = std::move(events_.front());
    events_.pop_front();
  }
  timed(event);
  return true;
}

}  // namespace vs::test
