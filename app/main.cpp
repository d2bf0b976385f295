// The program: one run of Main with the machine's own services.
#include "app/mdl_main.h"
#include "app/run_environment.h"
#include "platform/process.h"
#include "platform/program_arguments.h"

int main(int argc, char** argv) {
  brantvell::LoadLibrariesFromSystemOnly();
  brantvell::SetProgramArguments(argc, argv);
  return brantvell::Main(brantvell::RunEnvironment::Real());
}
