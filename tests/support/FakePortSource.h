#pragma once

#include "PortList.h"

#include <memory>

// The system's port names as a test sets them; the test keeps a handle to
// change them after the window has taken the source.
class FakePortSource : public PortSource {
public:
    struct Names {
        std::optional<QStringList> value;
    };

    explicit FakePortSource(std::shared_ptr<Names> names) : m_names(std::move(names)) {}
    std::optional<QStringList> portNames() const override { return m_names->value; }

private:
    std::shared_ptr<Names> m_names;
};
