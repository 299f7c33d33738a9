#pragma once

#include <functional>

// HDF5 1.10 keeps variable-length strings (a log's texts) in a global heap,
// and a damaged heap makes the library crash or loop for ever while reading
// one: no error comes back to catch. Such a read is first made by a copy of
// this process, which may die in our stead. Windows makes no such copy: the
// read is not tried there, and the caller's own read is the only one.
namespace ForkedProbe {

// Whether `read` came through in a copy of this process: it returned within
// the time limit, and its copy ended by itself.
bool Survives(const std::function<void()>& read);

} // namespace ForkedProbe
