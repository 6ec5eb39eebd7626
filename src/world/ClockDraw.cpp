#include "world/Clock.h"

#include "world/PlacedModel.h"

void Clock::draw(const std::shared_ptr<Shader>& shader) const {
    drawPlacedModel(model, modelMatrix(), shader);
}
