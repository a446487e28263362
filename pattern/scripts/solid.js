// Solid: every cell in one colour. With an end colour the colour moves from the start colour to
// the end colour over the steps, so that the pattern is a fade.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Solid";
    algo.author = "Lm740";
    algo.acceptColors = 2;
    algo.steps = 31;
    algo.properties = new Array();
    algo.properties.push("name:steps|type:range|display:Steps|values:1,1000|write:setSteps|read:getSteps");

    algo.setSteps = function (value) { algo.steps = parseInt(value, 10); };
    algo.getSteps = function () { return algo.steps; };

    algo.rgbMapStepCount = function (width, height) { return algo.steps; };

    algo.rgbMap = function (width, height, rgb, step) {
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++)
                map[y][x] = rgb;
        }
        return map;
    };

    return algo;
})();
