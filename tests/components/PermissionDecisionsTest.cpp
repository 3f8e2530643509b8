#include "components/PermissionDecisions.h"

#include <gtest/gtest.h>

#include "view/ScriptedPrompts.h"

namespace korventa {
namespace {

using test::ScriptedPrompts;

const PermissionKey kCameraRequest{u"https://shop.example/", kPermissionCamera, 0};

TEST(PermissionDecisions, PromptTextNamesKindAddressAndGesture) {
    EXPECT_EQ(PermissionDecisions::promptText({u"https://a.example/", kPermissionGeolocation, 1}),
              u"An iframe has requested device permission for Geolocation to the website at "
              u"https://a.example/?\n\nDo you want to grant permission?\n"
              u"This request came from a user gesture.");
    EXPECT_TRUE(PermissionDecisions::promptText(kCameraRequest)
                    .ends_with(u"\nThis request did not come from a user gesture."));
}

TEST(PermissionDecisions, NamesKindsOutsideOneToSixUnknownResources) {
    EXPECT_EQ(PermissionDecisions::kindName(1), u"Microphone");
    EXPECT_EQ(PermissionDecisions::kindName(5), u"Generic Sensors");
    EXPECT_EQ(PermissionDecisions::kindName(6), u"Clipboard Read");
    EXPECT_EQ(PermissionDecisions::kindName(0), u"Unknown resources");
    EXPECT_EQ(PermissionDecisions::kindName(7), u"Unknown resources");
}

TEST(PermissionDecisions, AsksWithPermissionRequestCaption) {
    ScriptedPrompts prompts;
    prompts.answers = {PromptAnswer::No};
    PermissionDecisions decisions;
    EXPECT_EQ(decisions.decide(kCameraRequest, prompts), PermissionState::Deny);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].caption, u"Permission Request");
    EXPECT_EQ(prompts.asked[0].text, PermissionDecisions::promptText(kCameraRequest));
}

TEST(PermissionDecisions, RepeatsStoredAnswerWithoutPrompt) {
    ScriptedPrompts prompts;
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    PermissionDecisions decisions;
    EXPECT_EQ(decisions.decide(kCameraRequest, prompts), PermissionState::Allow);
    EXPECT_EQ(decisions.decide(kCameraRequest, prompts), PermissionState::Allow);
    EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST(PermissionDecisions, PromptsAgainForOtherGestureFlagKindOrAddress) {
    ScriptedPrompts prompts;
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::No, PromptAnswer::No};
    PermissionDecisions decisions;
    EXPECT_EQ(decisions.decide(kCameraRequest, prompts), PermissionState::Allow);
    EXPECT_EQ(decisions.decide({kCameraRequest.address, kPermissionCamera, 1}, prompts),
              PermissionState::Deny);
    EXPECT_EQ(decisions.decide({kCameraRequest.address, kPermissionMicrophone, 0}, prompts),
              PermissionState::Deny);
    EXPECT_EQ(decisions.decide({u"https://other.example/", kPermissionCamera, 0}, prompts),
              PermissionState::Deny);
    EXPECT_EQ(prompts.asked.size(), 4u);
}

TEST(PermissionDecisions, CancelLeavesDefaultAndStoresNothing) {
    ScriptedPrompts prompts;
    prompts.answers = {PromptAnswer::Cancel, PromptAnswer::Yes};
    PermissionDecisions decisions;
    EXPECT_EQ(decisions.decide(kCameraRequest, prompts), PermissionState::Default);
    EXPECT_EQ(decisions.decide(kCameraRequest, prompts), PermissionState::Allow);
    EXPECT_EQ(prompts.asked.size(), 2u);
}

}  // namespace
}  // namespace korventa
