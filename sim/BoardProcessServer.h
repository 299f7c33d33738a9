#pragma once

#include "D2xx.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The board process's side of the calls: each request the drop-in library
// sends is carried out on the devices as the library would have in-process,
// and answered with what the call returned.
class BoardProcessServer {
public:
    // The devices must outlive the server.
    explicit BoardProcessServer(D2xx& devices);

    // The whole reply message (length and body) to one request body;
    // nothing when the body is not a request.
    std::optional<std::vector<std::uint8_t>> Answer(const std::uint8_t* body, std::size_t size);

private:
    D2xx& devices_;
};
