#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "lock/password_buffer.h"

// The password check, off the drawing thread: PAM may take seconds (its own
// delay after a failure, a network directory), and the crystal keeps moving
// meanwhile. The worker answers through a pipe the frame loop polls.

enum class CheckAnswer { None, Accepted, Refused };

struct PamCheck {
  std::string service;  // the PAM service file's name
  std::string user;     // who runs the lock: the only one it lets in
  std::thread worker;
  std::mutex mutex;
  std::condition_variable wake;
  bool asked = false;  // a password waits in `password`
  bool stopping = false;
  PasswordBuffer password;  // the worker's copy, wiped after each try
  int answerRead = -1;  // one byte per answer: 'y' or 'n'
  int answerWrite = -1;
  uint32_t refusedInARow = 0;  // the worker's: for the delay after repeated failures
};

// Finds the user, locks the worker's buffer in memory and starts it.
bool StartPamCheck(PamCheck& check, const char* service, std::string& error);
// Hands the typed password to the worker; `typed` is wiped.
void AskPamCheck(PamCheck& check, PasswordBuffer& typed);
// The answer, once it has come; None before. Never blocks.
CheckAnswer TakePamAnswer(PamCheck& check);
void StopPamCheck(PamCheck& check);
