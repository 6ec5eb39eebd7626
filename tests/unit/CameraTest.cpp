#include "render/Camera.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

TEST(CameraZoom, ClampsToTenAndTwenty) {
    Camera camera;
    camera.zoom(3.5f);
    EXPECT_FLOAT_EQ(10.0f, camera.distance);

    camera = Camera{};
    camera.zoom(-10.0f);
    EXPECT_FLOAT_EQ(20.0f, camera.distance);

    camera = Camera{};
    camera.zoom(-6.5f);
    EXPECT_FLOAT_EQ(19.5f, camera.distance);

    camera = Camera{};
    camera.zoom(1.0f);
    EXPECT_FLOAT_EQ(12.0f, camera.distance);
}

TEST(CameraFollow, SitsBehindAndAboveTheTarget) {
    Camera camera;
    // A jumping target lifts the eye with it.
    camera.follow(glm::vec3(1.0f, 2.0f, 50.0f), 0.0f);
    EXPECT_NEAR(1.0f, camera.position.x, 1e-5f);
    EXPECT_NEAR(11.1923885f, camera.position.y, 1e-5f);
    EXPECT_NEAR(40.807611f, camera.position.z, 1e-4f);
    EXPECT_EQ(glm::vec3(1.0f, 2.0f, 50.0f), camera.target);

    // A quarter turn of yaw puts the eye on the -x side of the target.
    camera.follow(glm::vec3(0.0f, 0.0f, 0.0f), 90.0f);
    EXPECT_NEAR(-9.1923885f, camera.position.x, 1e-4f);
    EXPECT_NEAR(0.0f, camera.position.z, 1e-4f);
}

TEST(CameraFollow, UsesTheDistanceAtTheTimeOfTheCall) {
    Camera camera;
    camera.zoom(3.0f);
    camera.follow(glm::vec3(0.0f), 0.0f);
    EXPECT_NEAR(10.0f * 0.70710677f, camera.position.y, 1e-4f);
}

TEST(CameraView, LooksFromThePositionAtTheTarget) {
    Camera camera;
    camera.follow(glm::vec3(1.0f, 0.0f, 50.0f), 0.0f);
    const glm::vec4 target = camera.getViewMatrix() * glm::vec4(camera.target, 1.0f);
    EXPECT_NEAR(0.0f, target.x, 1e-4f);
    EXPECT_NEAR(0.0f, target.y, 1e-4f);
    EXPECT_NEAR(-13.0f, target.z, 1e-4f);
}

TEST(SceneProjection, HasTheFixedFrustum) {
    const glm::mat4 projection = sceneProjection();
    const float tanHalf = std::tan(0.7853982f / 2.0f);
    EXPECT_NEAR(1.0f / (tanHalf * 4.0f / 3.0f), projection[0][0], 1e-5f);
    EXPECT_NEAR(1.0f / tanHalf, projection[1][1], 1e-5f);
    EXPECT_NEAR(-1.0013343f, projection[2][2], 1e-6f);
    EXPECT_FLOAT_EQ(-1.0f, projection[2][3]);
    EXPECT_NEAR(-0.2001334f, projection[3][2], 1e-6f);
    EXPECT_FLOAT_EQ(0.0f, projection[3][3]);
}

TEST(SceneProjection, ClipsBeyondTheFarPlane) {
    const auto clipDepth = [](float distance) {
        const glm::vec4 clip = sceneProjection() * glm::vec4(0.0f, 0.0f, -distance, 1.0f);
        return clip.z / clip.w;
    };
    EXPECT_LT(clipDepth(149.5f), 1.0f);
    EXPECT_GT(clipDepth(150.5f), 1.0f);
}
