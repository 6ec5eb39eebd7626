#pragma once

#include "world/HitBox.h"

#include <glm/glm.hpp>
#include <memory>

struct Camera;
class Model;
class Shader;

// The runner. Angles are in degrees, distances in world units, times in seconds. The game rules
// and the held keys work directly on these fields.
class Player {
  public:
    static constexpr int kOnGround = 4;
    static constexpr int kInAir = 2;
    static constexpr int kJumpClip = 0;
    static constexpr int kRunClip = 1;
    // The character is modelled about 500 units tall; this makes it 1.25 world units.
    static constexpr float kModelScale = 0.0025f;
    // While running the camera looks at the middle lane, not at the player.
    static constexpr float kMiddleLaneX = 1.0f;

    int lane = 0;
    int state = kOnGround;
    float x = 0.0f;
    float y = 0.0f;
    float startX = 0.0f;
    float startY = 0.0f;
    float startZ = 0.0f;
    float startSpeed = 0.0f;
    float z = 0.0f;
    float speed = 0.0f;
    float jumpVelocity = 0.0f;
    float verticalVelocity = 0.0f;
    float gravity = -35.0f;
    bool jumpRequested = false;
    Model* model = nullptr;
    Camera* camera = nullptr;
    HitBox hitBox;
    int animationIndex = kRunClip;
    float turnSpeed = 100.0f;
    float turnRate = 0.0f;
    float moveSpeed = 0.0f;
    float walkSpeed = 9.0f;
    float heading = 0.0f;

    Player(Model* model, Camera* camera, float x, float y, float z, float speed,
           float jumpVelocity);

    // One frame of running: forward along z at `speed`, then jump and gravity.
    void update(float dt);
    // One frame of free walking: turn, walk along the heading, then jump and gravity.
    void updateRelicMotion(float dt);
    void resetForGameStart();
    // Puts the camera behind the player along its heading.
    void placeCamera(bool relicMode);
    glm::mat4 modelMatrix() const;
    // Places the camera, then draws the skinned character with the animation program.
    void draw(const std::shared_ptr<Shader>& shader, bool relicMode);

  private:
    void updateVertical(float dt);
};
