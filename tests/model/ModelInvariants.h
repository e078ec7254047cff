#pragma once
// The model's invariants (model/ModelInvariants.h) as a GoogleTest assertion, with the
// fault as its message: EXPECT_TRUE(HoldsInvariants(track)) after each step of a test.

#include "model/CProject.h"
#include "model/CTrack.h"
#include "model/ModelInvariants.h"

#include <gtest/gtest.h>

template <class Model>::testing::AssertionResult HoldsInvariants(const Model& model) {
    const Result r = CheckInvariants(model);
    if (r)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << r.message;
}
