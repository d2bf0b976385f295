// The platform services a log writer works with, in one bundle so tests can
// hand it fakes.
#ifndef BRANTVELL_LOG_LOG_SERVICES_H_
#define BRANTVELL_LOG_LOG_SERVICES_H_

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/profile_reader.h"

namespace brantvell {

struct LogServices {
  FileSystem* files;
  Clock* clock;
  MessageBox* message_box;
  ProfileReader* profile;

  static LogServices Real() {
    return LogServices{&FileSystem::Real(), &Clock::Real(), &MessageBox::Real(),
                       &ProfileReader::Real()};
  }
};

}  // namespace brantvell

#endif  // BRANTVELL_LOG_LOG_SERVICES_H_
