// Pulse: the whole grid breathing, from dark to full and back over the steps (30 unless Steps
// says otherwise), while its colour goes from the start colour to the end colour.
(function () {
    var algo = new Object;
    algo.apiVersion = 2;
    algo.name = "Pulse";
    algo.author = "Lm740";
    algo.properties = [];

    var steps = 30;

    algo.properties.push("name:steps|type:range|display:Steps|values:1,1000|" +
                         "write:setSteps|read:getSteps");
    algo.setSteps = function (value) {
        var n = parseInt(value, 10);
        if (!isNaN(n))
            steps = Math.max(1, Math.min(1000, n));
    };
    algo.getSteps = function () { return steps; };

    algo.rgbMapStepCount = function (width, height) { return steps; };

    algo.rgbMap = function (width, height, rgb, step) {
        var level = (1 - Math.cos(2 * Math.PI * step / steps)) / 2;
        var c = (Math.round(((rgb >> 16) & 0xFF) * level) << 16) |
                (Math.round(((rgb >> 8) & 0xFF) * level) << 8) | Math.round((rgb & 0xFF) * level);
        var map = new Array(height);
        for (var y = 0; y < height; y++) {
            map[y] = new Array(width);
            for (var x = 0; x < width; x++)
                map[y][x] = c;
        }
        return map;
    };

    return algo;
})()
