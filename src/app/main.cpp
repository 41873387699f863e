// Program entry: runs the generator in its own directory and maps failures to exit statuses.
#include <exception>
#include <optional>
#include <string>

#include "app/form_load.h"
#include "platform/platform.h"
#include "platform/failure.h"

int main() {
  using namespace scenario;
  try {
    if (std::optional<Status> guard = Form_Load(platform::program_directory())) {
      return errore(std::to_string(status_number(*guard)));
    }
    return 0;
  } catch (const Failure& f) {
    platform::message_box(platform::kProgramTitle, std::string("The run stopped: ") + f.what());
    return kFailureExitStatus;
  } catch (const std::exception& e) {
    platform::message_box(platform::kProgramTitle, std::string("The run stopped: ") + e.what());
    return kFailureExitStatus;
  }
}
