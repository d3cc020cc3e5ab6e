#pragma once
// What the program keeps process-wide (the settings records, the attractor, the random
// generator, injected thread failures), put back as a fresh process has it, so each test
// starts from the same state.

namespace lumeno::test {

void ResetProcessState();

} // namespace lumeno::test
