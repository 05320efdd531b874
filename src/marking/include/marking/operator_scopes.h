#pragma once
// Pairs of calls to the operator that must close however the work between them ends.

#include "marking/operator.h"

namespace luma {

class ProgressScope {
public:
    explicit ProgressScope(Operator& op) : m_operator(op) {}
    ~ProgressScope() { m_operator.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    Operator& m_operator;
};

class BusyScope {
public:
    explicit BusyScope(Operator& op) : m_operator(op) { m_operator.ShowBusy(true); }
    ~BusyScope() { m_operator.ShowBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Operator& m_operator;
};

}  // namespace luma
