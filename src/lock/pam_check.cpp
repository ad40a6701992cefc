#include "lock/pam_check.h"

#include <fcntl.h>
#include <pwd.h>
#include <security/pam_appl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

// From the third wrong password in a row, each answer comes this much
// later, on top of what PAM's modules wait themselves: guessing at the
// prompt gets slow, a mistyped password does not.
constexpr auto RepeatedFailureDelay = std::chrono::milliseconds(250);
constexpr uint32_t FailuresBeforeDelay = 2;

// PAM asks for the password (echo off) and may tell things (shown nowhere:
// a lock screen has no place for module chatter). PAM frees the answers
// itself, so they are malloc'd copies; its modules overwrite the
// password's before they free it.
int Converse(int count, const pam_message** messages, pam_response** responses, void* data) {
  const auto& password = *static_cast<const PasswordBuffer*>(data);
  auto* answers = static_cast<pam_response*>(std::calloc(static_cast<size_t>(count), sizeof(pam_response)));
  if (answers == nullptr) return PAM_BUF_ERR;
  for (int k = 0; k < count; ++k) {
    const int style = messages[k]->msg_style;
    if (style == PAM_PROMPT_ECHO_OFF || style == PAM_PROMPT_ECHO_ON) {
      answers[k].resp = strndup(password.text, password.length);
      if (answers[k].resp == nullptr) {
        for (int j = 0; j < k; ++j) std::free(answers[j].resp);
        std::free(answers);
        return PAM_BUF_ERR;
      }
    }
  }
  *responses = answers;
  return PAM_SUCCESS;
}

// Both the password and the account: an expired or locked account stays out.
bool Authenticate(const PamCheck& check) {
  const pam_conv conversation{Converse, const_cast<PasswordBuffer*>(&check.password)};
  pam_handle_t* handle = nullptr;
  int status = pam_start(check.service.c_str(), check.user.c_str(), &conversation, &handle);
  if (status == PAM_SUCCESS) status = pam_authenticate(handle, 0);
  if (status == PAM_SUCCESS) status = pam_acct_mgmt(handle, 0);
  const bool accepted = status == PAM_SUCCESS;
  if (handle != nullptr) pam_end(handle, status);
  return accepted;
}

void Work(PamCheck& check) {
  std::unique_lock<std::mutex> hold(check.mutex);
  for (;;) {
    check.wake.wait(hold, [&] { return check.asked || check.stopping; });
    if (check.stopping) return;
    const bool accepted = Authenticate(check);
    Wipe(check.password);
    check.asked = false;
    check.refusedInARow = accepted ? 0 : check.refusedInARow + 1;
    if (check.refusedInARow > FailuresBeforeDelay) {
      check.wake.wait_for(hold, RepeatedFailureDelay, [&] { return check.stopping; });
    }
    const char answer = accepted ? 'y' : 'n';
    // The pipe holds far more answers than can wait; a failed write is a
    // broken pipe, which only happens as the lock ends.
    if (write(check.answerWrite, &answer, 1) != 1) return;
  }
}

}  // namespace

bool StartPamCheck(PamCheck& check, const char* service, std::string& error) {
  const passwd* entry = getpwuid(getuid());
  if (entry == nullptr || entry->pw_name == nullptr) {
    error = "cannot find the user running the lock in the user database";
    return false;
  }
  check.service = service;
  check.user = entry->pw_name;
  KeepInMemory(check.password);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = std::string("cannot make a pipe for the password check: ") + std::strerror(errno);
    return false;
  }
  check.answerRead = ends[0];
  check.answerWrite = ends[1];
  check.worker = std::thread(Work, std::ref(check));
  return true;
}

void AskPamCheck(PamCheck& check, PasswordBuffer& typed) {
  {
    std::lock_guard<std::mutex> hold(check.mutex);
    MovePassword(typed, check.password);
    check.asked = true;
  }
  check.wake.notify_one();
}

CheckAnswer TakePamAnswer(PamCheck& check) {
  char answer = 0;
  if (check.answerRead < 0 || read(check.answerRead, &answer, 1) != 1) return CheckAnswer::None;
  return answer == 'y' ? CheckAnswer::Accepted : CheckAnswer::Refused;
}

void StopPamCheck(PamCheck& check) {
  if (check.worker.joinable()) {
    {
      std::lock_guard<std::mutex> hold(check.mutex);
      check.stopping = true;
    }
    check.wake.notify_one();
    check.worker.join();
  }
  Wipe(check.password);
  for (int* fd : {&check.answerRead, &check.answerWrite}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}
