#pragma once
// The modules are built with hidden visibility; only their entry points are exported.

#define TSQ_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
