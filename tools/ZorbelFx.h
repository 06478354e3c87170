#pragma once

#include <istream>
#include <ostream>
#include <string_view>
#include <vector>

// zorbel-fx with its arguments (the program's name left out): fitcurve reads
// its points from `in`, the help and the control points go to `out`, failures
// to standard error. Answers the exit status. The caller quiets the log.
int zorbelFx(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out);
