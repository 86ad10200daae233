// Whether standard output is a terminal (a progress line may then be rewritten in place).
#pragma once

namespace quillon {

[[nodiscard]] bool stdoutIsTerminal();

}  // namespace quillon
