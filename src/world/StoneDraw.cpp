#include "world/Stone.h"

#include "world/PlacedModel.h"

void Stone::draw(const std::shared_ptr<Shader>& shader) const {
    drawPlacedModel(model, modelMatrix(), shader);
}
