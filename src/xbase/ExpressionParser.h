// Turns expression text into a checked syntax tree: resolves field names against a Schema,
// checks every operand's type, folds constant parts and lays out the scratch area the
// evaluator needs. Used only by Expression::compile.
#pragma once

#include "ExpressionNode.h"
#include "Field.h"
#include "Status.h"

#include <memory>
#include <string_view>

namespace xbase {

class ExpressionParser
{
public:
    /// The longest expression text accepted.
    static constexpr size_t kMaxLength = 255;

    /// Parses `text`. On failure returns InvalidArgument naming the 1-based position (or the
    /// unknown field) and leaves `root` empty.
    static Status parse(std::string_view text, const Schema &schema, std::unique_ptr<ExpressionNode> &root,
                        uint32_t &scratchSize);
};

} // namespace xbase
