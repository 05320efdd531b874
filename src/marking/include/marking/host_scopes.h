#pragma once
// Pairs of host calls that must close however the work between them ends.

#include "marking/marking_host.h"

namespace luma {

class ProgressScope {
public:
    explicit ProgressScope(MarkingHost& host) : m_host(host) {}
    ~ProgressScope() { m_host.EndProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    MarkingHost& m_host;
};

class BusyScope {
public:
    explicit BusyScope(MarkingHost& host) : m_host(host) { m_host.ShowBusy(true); }
    ~BusyScope() { m_host.ShowBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    MarkingHost& m_host;
};

}  // namespace luma
