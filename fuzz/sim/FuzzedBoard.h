#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// One board process's server as the request fuzz target drives it. Handles
// are the board process's pointers, which no input can know: a request's
// handle 1 or 2 stands for one the board handed out last.
class FuzzedBoard {
public:
    virtual ~FuzzedBoard() = default;

    // The whole reply message to one request body, as the board process
    // answers it; nothing for a body it refuses.
    virtual std::optional<std::vector<std::uint8_t>> Answer(const std::uint8_t* body, std::size_t size) = 0;
    // What a placeholder handle stands for now; 0 when nothing was handed out.
    virtual std::uint64_t HandleFor(std::uint64_t placeholder) const = 0;
};

// The board for one input.
std::unique_ptr<FuzzedBoard> MakeFuzzedBoard();
