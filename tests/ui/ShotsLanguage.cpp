// KAP_SHOTS_LANG=ja takes the pictures of this executable in Japanese.
#include "language/Language.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

class ShotsLanguage : public ::testing::Environment {
public:
    void SetUp() override
    {
        const QString code = qEnvironmentVariable("KAP_SHOTS_LANG");
        QString why;
        if (!code.isEmpty())
            ASSERT_TRUE(kap::language::install(code, &why)) << why.toStdString();
    }
    void TearDown() override { kap::language::install(QStringLiteral("en")); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ShotsLanguage);

}  // namespace
