// The setup tests' in-memory scripting components, built into this test
// program as well so the run flow drives a real setup object over them.
#include "tests/setup/fake_script_host.cpp"
