// The heap rule for print jobs. Qt's PDF engine, which also feeds the printers, compresses
// every page through two new 10 MB buffers and a new deflate state. By the C library's default
// rules those blocks are handed back to the system after each page and faulted in again on the
// next, which costs more than drawing the page. `keep` lets blocks below 32 MiB come from the
// heap and the heap keep up to 64 MiB free at its top (set once for the process, before its
// first document); only the part of a buffer that is written becomes resident, so the memory
// of a long job stays flat. `release` hands back what the heap kept when a document ends.
#pragma once

class TPageBuffers
{
public:
    static void keep();
    static void release();

    // Keeps the buffers for a run held in one scope and releases them when it ends.
    TPageBuffers() { keep(); }
    ~TPageBuffers() { release(); }
    TPageBuffers(const TPageBuffers &) = delete;
    TPageBuffers &operator=(const TPageBuffers &) = delete;
};
