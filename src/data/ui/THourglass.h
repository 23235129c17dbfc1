// The hourglass (wait) cursor for as long as the object lives; put one around long work.
// Nested hourglasses stack: the normal cursor returns when the outermost one goes.
#pragma once

class THourglass
{
public:
    THourglass();
    ~THourglass();
    THourglass(const THourglass &) = delete;
    THourglass &operator=(const THourglass &) = delete;
};
