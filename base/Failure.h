#pragma once
// What can go wrong inside the program, in its own terms. A Failure is thrown by the step that
// meets the fault and caught by the ErrorTrap the operation runs under, which asks the user.
#include <stdexcept>
#include <string>

namespace gradel {

enum class Fault {
    NoSuchScale,          // an operation named a scale key that has no record
    InvalidArgument,      // an empty name where one is required
    Overflow,             // a number too large for where it has to go
    DuplicateScale,       // a second record under a key already taken
    SettingsNotWritable,  // the settings store could not be written
};

class Failure : public std::runtime_error {
  public:
    explicit Failure(Fault fault);
    Fault fault() const { return fault_; }

  private:
    Fault fault_;
};

// The error number and description the error dialog shows for a fault. They are the texts
// the program has always shown, so a user's report still names the same fault.
int faultNumber(Fault fault);
std::string faultDescription(Fault fault);

}  // namespace gradel
